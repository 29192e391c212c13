// The front of TextureResample.h.
#include "render/TextureResample.h"

#include "render/Renderer.h"
#include "render/RendererBackends.h"

namespace {

bool shaded() { return renderer() == Renderer::Shader; }

} // namespace

TextureResampler::TextureResampler(int largestWidth, int largestHeight) {
    shaded() ? shader::createResampleTarget(largestWidth, largestHeight, scratch_, framebuffer_)
             : fixedfn::createResampleTarget(largestWidth, largestHeight, scratch_, framebuffer_);
}

TextureResampler::~TextureResampler() {
    shaded() ? shader::deleteResampleTarget(scratch_, framebuffer_)
             : fixedfn::deleteResampleTarget(scratch_, framebuffer_);
}

void TextureResampler::resample(unsigned texture, int newWidth, int newHeight) {
    shaded() ? shader::resampleTexture(framebuffer_, texture, newWidth, newHeight)
             : fixedfn::resampleTexture(framebuffer_, texture, newWidth, newHeight);
}
