// The front of FrameProjection.h.
#include "render/FrameProjection.h"

#include "render/Renderer.h"
#include "render/RendererBackends.h"

void initGlState() {
    if (renderer() == Renderer::Shader) return shader::initGlState();
    fixedfn::initGlState();
}

void setFrameProjection(ScreenSize& screen, int width, int height) {
    if (height == 0) return;
    screen.windowWidth = width;
    screen.windowHeight = height;
    if (renderer() == Renderer::Shader) return shader::setFrameProjection(screen);
    fixedfn::setFrameProjection(screen);
}

void setWindowProjection(const ScreenSize& screen) {
    if (renderer() == Renderer::Shader) return shader::setWindowProjection(screen);
    fixedfn::setWindowProjection(screen);
}
