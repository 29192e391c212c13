// The fixed-function back end of PassState.h.
#include "render/PassState.h"

#include "render/ShadowVolume.h"

#include "render/RendererBackends.h"

#include <GL/gl.h>

namespace fixedfn {

void clear(Buffers buffers) {
    const auto has = [buffers](Buffers b) {
        return (static_cast<unsigned>(buffers) & static_cast<unsigned>(b)) != 0;
    };
    GLbitfield mask = 0;
    if (has(Buffers::Colour)) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (has(Buffers::Depth)) mask |= GL_DEPTH_BUFFER_BIT;
    if (has(Buffers::Stencil)) {
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

} // namespace fixedfn
