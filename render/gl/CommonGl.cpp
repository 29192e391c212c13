#include "render/gl/CommonGl.h"

#include "glext/EsTable.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace gl {

namespace {

void clear(Buffers buffers) {
    GLbitfield mask = 0;
    if (includes(buffers, Buffers::Colour)) {
        es::glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (includes(buffers, Buffers::Depth)) mask |= GL_DEPTH_BUFFER_BIT;
    if (includes(buffers, Buffers::Stencil)) {
        es::glClearStencil(shadowStencilClear);
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    es::glClear(mask);
}

void applyPassState(const PassState& state) {
    if (state.depth == DepthMode::Tested)
        es::glEnable(GL_DEPTH_TEST);
    else
        es::glDisable(GL_DEPTH_TEST);
    switch (state.stencil) {
    case StencilMode::Ignored:
        es::glDisable(GL_STENCIL_TEST);
        break;
    case StencilMode::Unshadowed:
        es::glEnable(GL_STENCIL_TEST);
        es::glStencilFunc(GL_EQUAL, shadowStencilClear, 0xFF);
        es::glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
        es::glStencilMask(0xFF);
        break;
    }
}

void beginShowFrame() {
    es::glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    es::glDepthFunc(GL_ALWAYS);
}

} // namespace

extern const PassOps passOps{.clear = clear, .applyPassState = applyPassState, .beginShowFrame = beginShowFrame};

void finishFrame() { es::glFinish(); }

void readWindowRgba(int width, int height, std::uint8_t* bottomUpRgba) {
    es::glPixelStorei(GL_PACK_ALIGNMENT, 4);
    es::glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUpRgba);
}

unsigned takeGlError() {
    const GLenum first = es::glGetError();
    for (int i = 0; i < 16 && es::glGetError() != GL_NO_ERROR; ++i) {
    } // a context may hold one per kind
    return first;
}

int largestFrameSize() {
    GLint texture = 0, renderbuffer = 0, viewport[2] = {0, 0};
    es::glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
    es::glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    es::glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    return std::min({texture, renderbuffer, viewport[0], viewport[1]});
}

unsigned createDepthStencil(int width, int height) {
    GLuint depthStencil = 0;
    es::glGenRenderbuffers(1, &depthStencil);
    es::glBindRenderbuffer(GL_RENDERBUFFER, depthStencil);
    es::glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    return depthStencil;
}

bool createFramebuffer(unsigned colour, unsigned depthStencil, unsigned& name) {
    GLuint framebuffer = 0;
    es::glGenFramebuffers(1, &framebuffer);
    es::glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    es::glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
    if (depthStencil)
        es::glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthStencil);
    name = framebuffer;
    return es::glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void bindFramebuffer(unsigned framebuffer) { es::glBindFramebuffer(GL_FRAMEBUFFER, framebuffer); }

void deleteTarget(unsigned framebufferName, unsigned depthStencil, unsigned colour) {
    bindFramebuffer(0);
    const GLuint framebuffer = framebufferName, renderbuffer = depthStencil, texture = colour;
    if (framebuffer) es::glDeleteFramebuffers(1, &framebuffer);
    if (renderbuffer) es::glDeleteRenderbuffers(1, &renderbuffer);
    if (texture) es::glDeleteTextures(1, &texture);
}

bool resizeDepthStencil(unsigned framebuffer, unsigned depthStencil, int width, int height) {
    es::glBindRenderbuffer(GL_RENDERBUFFER, depthStencil);
    es::glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    es::glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    return es::glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void clearBound(bool colour) {
    es::glClear((colour ? GL_COLOR_BUFFER_BIT : 0) | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void reserveTextureNames(int n) {
    std::vector<GLuint> names(static_cast<std::size_t>(n));
    es::glGenTextures(n, names.data());
}

std::uint32_t largestTextureSide(bool cubeFace) {
    GLint side = 0;
    es::glGetIntegerv(cubeFace ? GL_MAX_CUBE_MAP_TEXTURE_SIZE : GL_MAX_TEXTURE_SIZE, &side);
    return side > 0 ? static_cast<std::uint32_t>(side) : 0;
}

} // namespace gl
