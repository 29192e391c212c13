// The shader renderer over OpenGL ES 3.0 (GLSL ES 3.00, the WebGL 2 class): the fixed-function
// renderer's pictures with its fast path's shortcuts in its own programs, and buffers only.
#include "render/Backend.h"

#include "render/gl/CommonGl.h"
#include "render/gles3/Gles3.h"
#include "render/gles3/Quads.h"
#include "render/gles3/StreamBuffer.h"

namespace gles3 {

extern const FrameOps frameOps;
extern const TargetOps targetOps;
extern const CameraOps cameraOps;
extern const MeshOps meshOps;
extern const SpriteOps spriteOps;
extern const ShadowOps shadowOps;
extern const TextureOps textureOps;
extern const ShellOps shellOps;
extern const EffectOps effectOps; // post/gles3

namespace {

// Programs and streams on the current ES context.
bool start() {
    enableDebugMessages();
    initStreams();
    es::glActiveTexture(GL_TEXTURE0);
    return initQuadPrograms();
}

bool takesShortcuts() { return true; }

} // namespace

} // namespace gles3

extern const RenderBackend gles3Backend{.name = "shader",
                                        .fastPathName = "shader",
                                        .api = GlApi::Es3,
                                        .start = gles3::start,
                                        .takesShortcuts = gles3::takesShortcuts,
                                        .pass = &gl::passOps,
                                        .frame = &gles3::frameOps,
                                        .target = &gles3::targetOps,
                                        .camera = &gles3::cameraOps,
                                        .mesh = &gles3::meshOps,
                                        .sprite = &gles3::spriteOps,
                                        .shadow = &gles3::shadowOps,
                                        .texture = &gles3::textureOps,
                                        .shell = &gles3::shellOps,
                                        .effects = &gles3::effectOps};
