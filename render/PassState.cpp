// The front of PassState.h: each operation goes to the renderer chosen at start-up.
#include "render/PassState.h"

#include "render/Renderer.h"
#include "render/RendererBackends.h"

void clear(Buffers buffers) {
    if (renderer() == Renderer::Shader) return shader::clear(buffers);
    fixedfn::clear(buffers);
}

void applyPassState(const PassState& state) {
    if (renderer() == Renderer::Shader) return shader::applyPassState(state);
    fixedfn::applyPassState(state);
}

void beginShowFrame() {
    if (renderer() == Renderer::Shader) return shader::beginShowFrame();
    fixedfn::beginShowFrame();
}
