// The front of TextureUpload.h.
#include "render/TextureUpload.h"

#include "render/Renderer.h"
#include "render/RendererBackends.h"

std::uint32_t largestTextureSide(bool cubeFace) {
    if (renderer() == Renderer::Shader) return shader::largestTextureSide(cubeFace);
    return fixedfn::largestTextureSide(cubeFace);
}

void uploadTexture2D(int slot, int width, int height, const unsigned char* rgb) {
    if (renderer() == Renderer::Shader) return shader::uploadTexture2D(slot, width, height, rgb);
    fixedfn::uploadTexture2D(slot, width, height, rgb);
}

void uploadCubeFace(int slot, int face, int width, int height, const unsigned char* rgb) {
    if (renderer() == Renderer::Shader) return shader::uploadCubeFace(slot, face, width, height, rgb);
    fixedfn::uploadCubeFace(slot, face, width, height, rgb);
}
