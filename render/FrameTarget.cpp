#include "render/FrameTarget.h"

#include "render/Backends.h"
#include "render/TextureResample.h"

int largestFrameSize() { return backend().target->largestFrameSize(); }

bool createFrameTarget(FrameTarget& target, const ScreenSize& screen) {
    const TargetOps& gl = *backend().target;
    target.width = screen.frameWidth;
    target.height = screen.frameHeight;
    target.colour = gl.createColourTexture(target.width, target.height, TargetTexture::Frame);
    target.depthStencil = gl.createDepthStencil(target.width, target.height);
    if (!gl.createFramebuffer(target.colour, target.depthStencil, target.framebuffer)) {
        destroyFrameTarget(target);
        return false;
    }
    gl.clearBound(true);
    return true;
}

void destroyFrameTarget(FrameTarget& target) {
    backend().target->deleteTarget(target.framebuffer, target.depthStencil, target.colour);
    target = FrameTarget{};
}

bool resizeFrameTarget(FrameTarget& target, int width, int height, TextureResampler& resampler) {
    resampler.resample(target.colour, width, height);
    target.width = width;
    target.height = height;
    const TargetOps& gl = *backend().target;
    if (!gl.resizeDepthStencil(target.framebuffer, target.depthStencil, width, height)) return false;
    gl.clearBound(false);
    return true;
}

void bindFrameTarget(const FrameTarget& target) { backend().target->bindFramebuffer(target.framebuffer); }

void bindWindowTarget() { backend().target->bindFramebuffer(0); }
