#include "render/TextureResample.h"

#include "render/Backends.h"

TextureResampler::TextureResampler(int largestWidth, int largestHeight) {
    const TargetOps& gl = *backend().target;
    scratch_ = gl.createColourTexture(largestWidth, largestHeight, TargetTexture::Scratch);
    gl.createFramebuffer(scratch_, 0, framebuffer_);
    gl.bindFramebuffer(0);
}

TextureResampler::~TextureResampler() { backend().target->deleteTarget(framebuffer_, 0, scratch_); }

void TextureResampler::resample(unsigned texture, int newWidth, int newHeight) {
    backend().target->resampleTexture(framebuffer_, texture, newWidth, newHeight);
}
