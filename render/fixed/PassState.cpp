// Clears and pass states on GL's own switches.
#include "render/Backend.h"

#include <GL/gl.h>

namespace fixed {

namespace {

void clear(Buffers buffers) {
    GLbitfield mask = 0;
    if (includes(buffers, Buffers::Colour)) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (includes(buffers, Buffers::Depth)) mask |= GL_DEPTH_BUFFER_BIT;
    if (includes(buffers, Buffers::Stencil)) {
        glClearStencil(shadowStencilClear);
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    glClear(mask);
}

void applyPassState(const PassState& state) {
    if (state.depth == DepthMode::Tested)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    switch (state.stencil) {
    case StencilMode::Ignored:
        glDisable(GL_STENCIL_TEST);
        break;
    case StencilMode::Unshadowed:
        glEnable(GL_STENCIL_TEST);
        glStencilFunc(GL_EQUAL, shadowStencilClear, 0xFF);
        glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
        glStencilMask(0xFF);
        break;
    }
}

void beginShowFrame() {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glDepthFunc(GL_ALWAYS);
}

} // namespace

extern const PassOps passOps{.clear = clear, .applyPassState = applyPassState, .beginShowFrame = beginShowFrame};

} // namespace fixed
