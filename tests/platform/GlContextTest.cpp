#include "support/GlTestContext.h"

#include <GL/gl.h>

namespace {

using GlContext = GlTest;

TEST_F(GlContext, OffscreenContextHasDepthAndEightStencilBits) {
    GLint depth = 0, stencil = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    EXPECT_GE(depth, 24);
    EXPECT_EQ(stencil, 8);
}

TEST_F(GlContext, StencilWrapsAroundEightBits) {
    glEnable(GL_STENCIL_TEST);
    glClearStencil(0);
    glClear(GL_STENCIL_BUFFER_BIT);
    glStencilFunc(GL_ALWAYS, 0, 0xff);
    glStencilOp(GL_KEEP, GL_KEEP, GL_DECR_WRAP);
    glBegin(GL_QUADS);
    glVertex2f(-1, -1), glVertex2f(1, -1), glVertex2f(1, 1), glVertex2f(-1, 1);
    glEnd();
    GLubyte value = 0;
    glReadPixels(400, 300, 1, 1, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, &value);
    EXPECT_EQ(value, 255);
}

} // namespace
