#include "render/Renderer.h"

namespace {

Renderer gRenderer = Renderer::Fixed;

} // namespace

void setRenderer(Renderer r) { gRenderer = r; }

Renderer renderer() { return gRenderer; }

GlApi glApiOf(Renderer r) { return r == Renderer::Shader ? GlApi::Es3 : GlApi::Compatibility; }

const char* nameOf(Renderer r) { return r == Renderer::Shader ? "shader" : "fixed"; }
