// The shader back end of FrameProjection.h.
#include "render/RendererBackends.h"

#include "render/ShaderMatrices.h"
#include "render/ShaderState.h"

namespace shader {

void initGlState() {
    es::glEnable(GL_BLEND);
    es::glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
    setTexturing(true);
    es::glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    es::glDisable(GL_DEPTH_TEST);
    es::glClear(GL_COLOR_BUFFER_BIT);
}

void setFrameProjection(const ScreenSize& screen) {
    es::glViewport(0, 0, screen.frameWidth, screen.frameHeight);
    const int halfW = screen.frameWidth / 2, halfH = screen.frameHeight / 2;
    projectionMatrix() = ortho(-halfW, halfW, -halfH, halfH, 0.0, 1.0);
}

void setWindowProjection(const ScreenSize& screen) {
    es::glViewport(0, 0, screen.windowWidth, screen.windowHeight);
    projectionMatrix() = ortho(-0.5 * screen.windowWidth, 0.5 * screen.windowWidth,
                               -0.5 * screen.windowHeight, 0.5 * screen.windowHeight, 0.1, 100000.0);
}

} // namespace shader
