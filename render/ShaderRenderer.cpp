// Bringing the shader renderer up on an ES context.
#include "render/RendererBackends.h"

#include "render/ShaderQuads.h"
#include "render/ShaderState.h"
#include "render/StreamBuffer.h"

namespace shader {

bool start() {
    enableDebugMessages();
    initStreams();
    es::glActiveTexture(GL_TEXTURE0);
    return initQuadPrograms();
}

} // namespace shader
