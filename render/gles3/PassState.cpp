// Clears and pass states: the raster state the fixed-function renderer sets, in the ES context.
#include "render/Backend.h"

#include "glext/EsTable.h"

namespace gles3 {

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

} // namespace gles3
