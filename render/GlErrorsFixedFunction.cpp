// The fixed-function back end of GlErrors.h.
#include "render/RendererBackends.h"

#include <GL/gl.h>

namespace fixedfn {

unsigned takeGlError() {
    const GLenum first = glGetError();
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    } // a context may hold one per kind
    return first;
}

} // namespace fixedfn
