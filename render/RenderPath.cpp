#include "render/RenderPath.h"

#include "render/Renderer.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>

namespace {

RenderPath gPath = RenderPath::Fast;

enum class Support { Unknown, Yes, No };
Support gSupport = Support::Unknown;

bool contextOffersFastPath() {
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (extensions == nullptr) return false;
    GLint units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    return std::strstr(extensions, "GL_ARB_fragment_program") != nullptr && units >= 2;
}

} // namespace

void setRenderPath(RenderPath path) { gPath = path; }

bool fastRendering() {
    if (gPath != RenderPath::Fast) return false;
    if (renderer() == Renderer::Shader) return true; // the shader renderer's passes are its own
    if (gSupport == Support::Unknown) gSupport = contextOffersFastPath() ? Support::Yes : Support::No;
    return gSupport == Support::Yes;
}
