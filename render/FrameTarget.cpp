// The front of FrameTarget.h.
#include "render/FrameTarget.h"

#include "render/Renderer.h"
#include "render/RendererBackends.h"
#include "render/TextureResample.h"

int largestFrameSize() {
    if (renderer() == Renderer::Shader) return shader::largestFrameSize();
    return fixedfn::largestFrameSize();
}

bool createFrameTarget(FrameTarget& target, const ScreenSize& screen) {
    if (renderer() == Renderer::Shader) return shader::createFrameTarget(target, screen);
    return fixedfn::createFrameTarget(target, screen);
}

void destroyFrameTarget(FrameTarget& target) {
    if (renderer() == Renderer::Shader) return shader::destroyFrameTarget(target);
    fixedfn::destroyFrameTarget(target);
}

bool resizeFrameTarget(FrameTarget& target, int width, int height, TextureResampler& resampler) {
    resampler.resample(target.colour, width, height);
    target.width = width;
    target.height = height;
    if (renderer() == Renderer::Shader) return shader::resizeDepthStencil(target);
    return fixedfn::resizeDepthStencil(target);
}

void bindFrameTarget(const FrameTarget& target) {
    if (renderer() == Renderer::Shader) return shader::bindFrameTarget(target);
    fixedfn::bindFrameTarget(target);
}

void bindWindowTarget() {
    if (renderer() == Renderer::Shader) return shader::bindWindowTarget();
    fixedfn::bindWindowTarget();
}
