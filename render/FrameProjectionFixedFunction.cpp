// The fixed-function back end of FrameProjection.h.
#include "render/RendererBackends.h"

#include <GL/gl.h>

namespace fixedfn {

void initGlState() {
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_ADD);
    glEnable(GL_TEXTURE_2D);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glDisable(GL_DEPTH_TEST);
    glClear(GL_COLOR_BUFFER_BIT);
}

void setFrameProjection(const ScreenSize& screen) {
    glViewport(0, 0, screen.frameWidth, screen.frameHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const int halfW = screen.frameWidth / 2, halfH = screen.frameHeight / 2;
    glOrtho(-halfW, halfW, -halfH, halfH, 0.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
}

void setWindowProjection(const ScreenSize& screen) {
    glViewport(0, 0, screen.windowWidth, screen.windowHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-0.5 * screen.windowWidth, 0.5 * screen.windowWidth, -0.5 * screen.windowHeight,
            0.5 * screen.windowHeight, 0.1, 100000.0);
    glMatrixMode(GL_MODELVIEW);
}

} // namespace fixedfn
