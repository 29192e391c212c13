// The fixed-function renderer over desktop OpenGL: the reference pictures, and on contexts with
// ARB fragment programs and two texture units the fast path's shortcuts.
#include "render/Backend.h"

#include "render/gl/CommonGl.h"
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>

namespace fixed {

extern const FrameOps frameOps;
extern const TargetOps targetOps;
extern const CameraOps cameraOps;
extern const MeshOps meshOps;
extern const SpriteOps spriteOps;
extern const ShadowOps shadowOps;
extern const TextureOps textureOps;
extern const ShellOps shellOps;
extern const EffectOps effectOps; // post/fixed

namespace {

bool start() { return true; } // GL's own state is all it needs

enum class Support { Unknown, Yes, No };
Support gSupport = Support::Unknown;

bool contextOffersFastPath() {
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (extensions == nullptr) return false;
    GLint units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    return std::strstr(extensions, "GL_ARB_fragment_program") != nullptr && units >= 2;
}

bool takesShortcuts() {
    if (gSupport == Support::Unknown) gSupport = contextOffersFastPath() ? Support::Yes : Support::No;
    return gSupport == Support::Yes;
}

} // namespace

} // namespace fixed

extern const RenderBackend fixedBackend{.name = "fixed",
                                        .fastPathName = "fast",
                                        .api = GlApi::Compatibility,
                                        .start = fixed::start,
                                        .takesShortcuts = fixed::takesShortcuts,
                                        .pass = &gl::passOps,
                                        .frame = &fixed::frameOps,
                                        .target = &fixed::targetOps,
                                        .camera = &fixed::cameraOps,
                                        .mesh = &fixed::meshOps,
                                        .sprite = &fixed::spriteOps,
                                        .shadow = &fixed::shadowOps,
                                        .texture = &fixed::textureOps,
                                        .shell = &fixed::shellOps,
                                        .effects = &fixed::effectOps};
