// The shader back end of PassState.h: the same raster state as the fixed-function one.
#include "render/RendererBackends.h"

#include "glext/EsTable.h"
#include "render/ShadowVolume.h"

namespace shader {

void clear(Buffers buffers) {
    const auto has = [buffers](Buffers b) {
        return (static_cast<unsigned>(buffers) & static_cast<unsigned>(b)) != 0;
    };
    GLbitfield mask = 0;
    if (has(Buffers::Colour)) {
        es::glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (has(Buffers::Depth)) mask |= GL_DEPTH_BUFFER_BIT;
    if (has(Buffers::Stencil)) {
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

} // namespace shader
