// The shader back end of FrameTarget.h.
#include "render/RendererBackends.h"

#include "glext/EsTable.h"
#include "render/ShaderState.h"

#include <algorithm>

namespace shader {

int largestFrameSize() {
    GLint texture = 0, renderbuffer = 0, viewport[2] = {0, 0};
    es::glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
    es::glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    es::glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    return std::min({texture, renderbuffer, viewport[0], viewport[1]});
}

bool createFrameTarget(FrameTarget& target, const ScreenSize& screen) {
    target.width = screen.frameWidth;
    target.height = screen.frameHeight;
    GLuint texture = 0;
    es::glGenTextures(1, &texture);
    bindTexture2D(texture);
    // RGB like the window, so blending reads a destination alpha of 1; the stretch over the window
    // reads past the edge texels as the fixed-function renderer's GL_CLAMP does.
    es::glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, target.width, target.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                     nullptr);
    es::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    es::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    setWrap(texture, Wrap::ClampToBlack);
    noteTextureSize(texture, target.width, target.height);
    target.colour = texture;

    GLuint depthStencil = 0;
    es::glGenRenderbuffers(1, &depthStencil);
    es::glBindRenderbuffer(GL_RENDERBUFFER, depthStencil);
    es::glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, target.width, target.height);
    target.depthStencil = depthStencil;

    GLuint framebuffer = 0;
    es::glGenFramebuffers(1, &framebuffer);
    es::glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    es::glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    es::glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthStencil);
    target.framebuffer = framebuffer;
    if (es::glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        shader::destroyFrameTarget(target);
        return false;
    }
    es::glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    return true;
}

void destroyFrameTarget(FrameTarget& target) {
    bindWindowTarget();
    const GLuint framebuffer = target.framebuffer, renderbuffer = target.depthStencil,
                 texture = target.colour;
    if (framebuffer) es::glDeleteFramebuffers(1, &framebuffer);
    if (renderbuffer) es::glDeleteRenderbuffers(1, &renderbuffer);
    if (texture) es::glDeleteTextures(1, &texture);
    target = FrameTarget{};
}

void bindFrameTarget(const FrameTarget& target) { es::glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer); }

void bindWindowTarget() { es::glBindFramebuffer(GL_FRAMEBUFFER, 0); }

bool resizeDepthStencil(FrameTarget& target) {
    es::glBindRenderbuffer(GL_RENDERBUFFER, target.depthStencil);
    es::glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, target.width, target.height);
    es::glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    if (es::glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return false;
    es::glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    return true;
}

} // namespace shader
