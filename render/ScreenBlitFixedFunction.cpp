// The fixed-function back end of ScreenBlit.h.
#include "render/FrameSize.h"
#include "render/RenderPath.h"

#include "render/RendererBackends.h"

#include <GL/gl.h>

namespace fixedfn {

bool prepareFrame(const ScreenSize& screen, FrameTarget& frame) {
    fixedfn::initGlState();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    return fixedfn::createFrameTarget(frame, screen);
}

void blitFrame(const ScreenSize& screen, const FrameTarget& frame) {
    // The frame fills the centred 4:3 picture of the window; the clear leaves black bars
    // around it on other shapes. 1/1024 and 1/768 as the quad was laid out for a 1024 x 768
    // window.
    const PictureArea picture = pictureAreaIn(screen.windowWidth, screen.windowHeight);
    const float sx = static_cast<float>(picture.width) * 0.0009765625f;
    const float sy = static_cast<float>(picture.height) * 0.0013020834f;
    const float cx =
        static_cast<float>(picture.x) + 0.5f * static_cast<float>(picture.width - screen.windowWidth);
    const float cy =
        static_cast<float>(picture.y) + 0.5f * static_cast<float>(picture.height - screen.windowHeight);

    glEnable(GL_TEXTURE_2D);
    // The texture as it is: GL_ADD with black, or (fast path) GL_REPLACE, which the rasteriser
    // can copy without the per-pixel add.
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, fastRendering() ? GL_REPLACE : GL_ADD);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    fixedfn::bindWindowTarget();
    glBindTexture(GL_TEXTURE_2D, frame.colour);
    glClear(GL_COLOR_BUFFER_BIT);

    fixedfn::setWindowProjection(screen);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(cx, cy, 0.0f);
    glDisable(GL_BLEND);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f); // with GL_ADD a black colour leaves the texture unchanged
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex3f(-512.0f * sx, -384.0f * sy, -1.0f);
    glTexCoord2f(1, 0), glVertex3f(512.0f * sx, -384.0f * sy, -1.0f);
    glTexCoord2f(1, 1), glVertex3f(512.0f * sx, 384.0f * sy, -1.0f);
    glTexCoord2f(0, 1), glVertex3f(-512.0f * sx, 384.0f * sy, -1.0f);
    glEnd();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_ADD);
    glPopMatrix();
    fixedfn::setWindowProjection(screen);
}

void finishFrame() { glFinish(); }

} // namespace fixedfn
