// The front of drawShadowVolume and blackenShadowed.
#include "render/ShadowVolume.h"

#include "render/Renderer.h"
#include "render/RendererBackends.h"

void drawShadowVolume(Model& model, int mesh) {
    if (renderer() == Renderer::Shader) return shader::drawShadowVolume(model, mesh);
    fixedfn::drawShadowVolume(model, mesh);
}

void blackenShadowed() {
    if (renderer() == Renderer::Shader) return shader::blackenShadowed();
    fixedfn::blackenShadowed();
}
