// The fixed-function back end of FrameTarget.h.
#include "render/RendererBackends.h"

#include "glext/GlExt.h"

#include <algorithm>

namespace fixedfn {

int largestFrameSize() {
    GLint texture = 0, renderbuffer = 0, viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    return std::min({texture, renderbuffer, viewport[0], viewport[1]});
}

bool createFrameTarget(FrameTarget& target, const ScreenSize& screen) {
    target.width = screen.frameWidth;
    target.height = screen.frameHeight;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, target.width, target.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 nullptr);
    target.colour = texture;

    GLuint depthStencil = 0;
    glext::glGenRenderbuffers(1, &depthStencil);
    glext::glBindRenderbuffer(GL_RENDERBUFFER, depthStencil);
    glext::glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, target.width, target.height);
    target.depthStencil = depthStencil;

    GLuint framebuffer = 0;
    glext::glGenFramebuffers(1, &framebuffer);
    glext::glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glext::glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    glext::glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                     depthStencil);
    target.framebuffer = framebuffer;
    if (glext::glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        fixedfn::destroyFrameTarget(target);
        return false;
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    return true;
}

void destroyFrameTarget(FrameTarget& target) {
    bindWindowTarget();
    const GLuint framebuffer = target.framebuffer, renderbuffer = target.depthStencil,
                 texture = target.colour;
    if (framebuffer) glext::glDeleteFramebuffers(1, &framebuffer);
    if (renderbuffer) glext::glDeleteRenderbuffers(1, &renderbuffer);
    if (texture) glDeleteTextures(1, &texture);
    target = FrameTarget{};
}

void bindFrameTarget(const FrameTarget& target) {
    glext::glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
}

void bindWindowTarget() { glext::glBindFramebuffer(GL_FRAMEBUFFER, 0); }

bool resizeDepthStencil(FrameTarget& target) {
    glext::glBindRenderbuffer(GL_RENDERBUFFER, target.depthStencil);
    glext::glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, target.width, target.height);
    glext::glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    if (glext::glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return false;
    glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    return true;
}

} // namespace fixedfn
