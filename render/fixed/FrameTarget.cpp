// Render targets through the framebuffer objects of desktop OpenGL 3.0, and textures resampled
// through them with a fixed-function quad.
#include "render/Backend.h"

#include "render/gl/CommonGl.h"
#include "glext/GlExt.h"


namespace fixed {

namespace {

unsigned createColourTexture(int width, int height, TargetTexture kind) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    if (kind == TargetTexture::Frame) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    }
    const GLint filter = kind == TargetTexture::Frame ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    return texture;
}

void resampleTexture(unsigned framebuffer, unsigned texture, int newWidth, int newHeight) {
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT | GL_VIEWPORT_BIT | GL_CURRENT_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, 1.0, 0.0, 1.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    // The old picture, filtered, over the new size in the scratch target's corner.
    glext::glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, newWidth, newHeight);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex2f(0, 0);
    glTexCoord2f(1, 0), glVertex2f(1, 0);
    glTexCoord2f(1, 1), glVertex2f(1, 1);
    glTexCoord2f(0, 1), glVertex2f(0, 1);
    glEnd();

    // New storage of the same format under the same name, filled from the scratch target.
    GLint format = GL_RGB;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    glTexImage2D(GL_TEXTURE_2D, 0, format, newWidth, newHeight, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, newWidth, newHeight);
    glext::glBindFramebuffer(GL_FRAMEBUFFER, 0);

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

} // namespace

extern const TargetOps targetOps{.largestFrameSize = gl::largestFrameSize,
                                 .createColourTexture = createColourTexture,
                                 .createDepthStencil = gl::createDepthStencil,
                                 .createFramebuffer = gl::createFramebuffer,
                                 .deleteTarget = gl::deleteTarget,
                                 .bindFramebuffer = gl::bindFramebuffer,
                                 .resizeDepthStencil = gl::resizeDepthStencil,
                                 .clearBound = gl::clearBound,
                                 .resampleTexture = resampleTexture};

} // namespace fixed
