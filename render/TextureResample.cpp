// The front of TextureResample.h: the resampler draws with the renderer chosen at start-up.
#include "render/TextureResample.h"

#include "render/Renderer.h"
#include "render/RendererBackends.h"

TextureResampler::TextureResampler(int largestWidth, int largestHeight) {
    if (renderer() == Renderer::Shader)
        shader::createResampler(largestWidth, largestHeight, scratch_, framebuffer_);
    else
        fixedfn::createResampler(largestWidth, largestHeight, scratch_, framebuffer_);
}

TextureResampler::~TextureResampler() {
    if (renderer() == Renderer::Shader)
        shader::destroyResampler(scratch_, framebuffer_);
    else
        fixedfn::destroyResampler(scratch_, framebuffer_);
}

void TextureResampler::resample(unsigned texture, int newWidth, int newHeight) {
    if (renderer() == Renderer::Shader) return shader::resample(framebuffer_, texture, newWidth, newHeight);
    fixedfn::resample(framebuffer_, texture, newWidth, newHeight);
}
