// The front of ScreenBlit.h.
#include "render/ScreenBlit.h"

#include "render/Renderer.h"
#include "render/RendererBackends.h"

bool prepareFrame(const ScreenSize& screen, FrameTarget& frame) {
    if (renderer() == Renderer::Shader) return shader::prepareFrame(screen, frame);
    return fixedfn::prepareFrame(screen, frame);
}

void blitFrame(const ScreenSize& screen, const FrameTarget& frame) {
    if (renderer() == Renderer::Shader) return shader::blitFrame(screen, frame);
    fixedfn::blitFrame(screen, frame);
}

void finishFrame() {
    if (renderer() == Renderer::Shader) return shader::finishFrame();
    fixedfn::finishFrame();
}
