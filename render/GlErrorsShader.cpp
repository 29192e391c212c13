// The shader back end of GlErrors.h, and on request (CASTRELLE_GL_DEBUG set) the context's debug
// messages (KHR_debug), which name the call and value GL refused. They are off otherwise: with
// them on, Mesa's llvmpipe runs the show about a third slower (measured on the cave).
#include "render/RendererBackends.h"

#include "glext/EsTable.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace shader {

namespace {

int gMessagesLeft = 8; // enough to see the fault, not a flood from one per frame

void GL_APIENTRY reportDebugMessage(GLenum, GLenum type, GLuint, GLenum, GLsizei, const GLchar* message,
                                    const void*) {
    if (type != GL_DEBUG_TYPE_ERROR_KHR || gMessagesLeft <= 0) return;
    --gMessagesLeft;
    std::fprintf(stderr, "castrelle: GL: %s\n", message);
}

} // namespace

void enableDebugMessages() {
    const char* extensions = reinterpret_cast<const char*>(es::glGetString(GL_EXTENSIONS));
    if (!std::getenv("CASTRELLE_GL_DEBUG") || !extensions || !std::strstr(extensions, "GL_KHR_debug")) return;
    es::glDebugMessageCallbackKHR(reportDebugMessage, nullptr);
    es::glEnable(GL_DEBUG_OUTPUT_KHR);
}

unsigned takeGlError() {
    const GLenum first = es::glGetError();
    for (int i = 0; i < 16 && es::glGetError() != GL_NO_ERROR; ++i) {
    } // a context may hold one per kind
    return first;
}

} // namespace shader
