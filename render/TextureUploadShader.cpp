// The shader back end of TextureUpload.h.
#include "render/RendererBackends.h"

#include "glext/EsTable.h"
#include "render/ShaderState.h"

namespace shader {

namespace {

// Rows are packed (width x 3 bytes): unpack alignment 1 for the upload, then back to GL's 4.
void uploadPacked(GLenum target, int width, int height, const unsigned char* rgb) {
    es::glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    es::glTexImage2D(target, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    es::glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

} // namespace

std::uint32_t largestTextureSide(bool cubeFace) {
    GLint side = 0;
    es::glGetIntegerv(cubeFace ? GL_MAX_CUBE_MAP_TEXTURE_SIZE : GL_MAX_TEXTURE_SIZE, &side);
    return side > 0 ? static_cast<std::uint32_t>(side) : 0;
}

void uploadTexture2D(int slot, int width, int height, const unsigned char* rgb) {
    const GLuint texture = static_cast<GLuint>(slot);
    bindTexture2D(texture);
    es::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    es::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    setWrap(texture, Wrap::Repeat);
    uploadPacked(GL_TEXTURE_2D, width, height, rgb);
    noteTextureSize(texture, width, height);
}

void uploadCubeFace(int slot, int face, int width, int height, const unsigned char* rgb) {
    es::glBindTexture(GL_TEXTURE_CUBE_MAP, static_cast<GLuint>(slot));
    es::glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    es::glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    uploadPacked(static_cast<GLenum>(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face), width, height, rgb);
}

} // namespace shader
