// The window, its projections and the end of a frame on GL's own matrix stack.
#include "render/Backend.h"

#include "render/gl/CommonGl.h"
#include "glext/GlExt.h"
#include "render/RenderPath.h"

#include <GL/gl.h>

namespace fixed {

namespace {

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

void loadIdentityMatrices() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
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

void blitFrame(const ScreenSize& screen, const FrameTarget& frame, const FrameQuad& quad) {
    glEnable(GL_TEXTURE_2D);
    // The texture as it is: GL_ADD with black, or (fast path) GL_REPLACE, which the rasteriser
    // can copy without the per-pixel add.
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, fastRendering() ? GL_REPLACE : GL_ADD);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glext::glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBindTexture(GL_TEXTURE_2D, frame.colour);
    glClear(GL_COLOR_BUFFER_BIT);

    setWindowProjection(screen);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(quad.centreX, quad.centreY, 0.0f);
    glDisable(GL_BLEND);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f); // with GL_ADD a black colour leaves the texture unchanged
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex3f(-quad.halfWidth, -quad.halfHeight, -1.0f);
    glTexCoord2f(1, 0), glVertex3f(quad.halfWidth, -quad.halfHeight, -1.0f);
    glTexCoord2f(1, 1), glVertex3f(quad.halfWidth, quad.halfHeight, -1.0f);
    glTexCoord2f(0, 1), glVertex3f(-quad.halfWidth, quad.halfHeight, -1.0f);
    glEnd();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_ADD);
    glPopMatrix();
    setWindowProjection(screen);
}

} // namespace

extern const FrameOps frameOps{.initGlState = initGlState,
                               .loadIdentityMatrices = loadIdentityMatrices,
                               .setFrameProjection = setFrameProjection,
                               .setWindowProjection = setWindowProjection,
                               .blitFrame = blitFrame,
                               .finishFrame = gl::finishFrame,
                               .readWindowRgba = gl::readWindowRgba,
                               .takeGlError = gl::takeGlError};

} // namespace fixed
