// The fixed-function back end of TextureResample.h.
#include "render/RendererBackends.h"

#include "glext/GlExt.h"

namespace fixedfn {

void createResampleTarget(int largestWidth, int largestHeight, unsigned& scratch, unsigned& framebufferName) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, largestWidth, largestHeight, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 nullptr);
    scratch = texture;
    GLuint framebuffer = 0;
    glext::glGenFramebuffers(1, &framebuffer);
    glext::glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glext::glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    framebufferName = framebuffer;
    glext::glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void deleteResampleTarget(unsigned scratch, unsigned framebufferName) {
    glext::glBindFramebuffer(GL_FRAMEBUFFER, 0);
    const GLuint framebuffer = framebufferName, texture = scratch;
    glext::glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &texture);
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

} // namespace fixedfn
