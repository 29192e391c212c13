#include "support/GlTestContext.h"

#include "platform/GlContext.h"
#include "render/RenderPath.h"
#include "support/Renderers.h"

#include <GL/gl.h>

void requireGlContext() { ASSERT_TRUE(useSharedOffscreenContext()) << "no offscreen OpenGL context"; }

void resetGlState() {
    // The tests of passes and state describe the reference path; the fast path's own tests
    // choose it and compare its pixels with the reference's.
    setRenderPath(RenderPath::Reference);
    useBackend(fixedRenderer()); // the shared context is desktop OpenGL's
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glViewport(0, 0, 800, 600);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_STENCIL_TEST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glClearColor(0, 0, 0, 1);
    glColor4f(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}
