#pragma once
// What a rendering back end provides behind the fronts of render/ and post/: one table of
// operations per back end, grouped as the fronts are, each group filled by one file of the back
// end's own folder (render/fixed and post/fixed for the fixed-function renderer, render/gles3 and
// post/gles3 for the OpenGL ES 3.0 one). Backends.h lists the tables and says which one draws;
// the fronts work out what every back end shares and call through that one. Nothing else calls a
// back end.

#include "anim/CameraFrame.h"
#include "assets/Model.h"
#include "assets/SceneLight.h"
#include "math/Mat4.h"
#include "platform/GlContext.h"
#include "render/RenderTypes.h"

#include <cstdint>
#include <vector>

struct EffectOps; // post/EffectBackend.h: the post stack's passes

// PassState.h: clears and the raster state of a pass.
struct PassOps {
    void (*clear)(Buffers buffers);
    void (*applyPassState)(const PassState& state);
    void (*beginShowFrame)();
};

// FrameProjection.h, ScreenBlit.h, FrameReadback.h, GlErrors.h: the window, its projections and
// what the shell asks of the context at the end of a frame.
struct FrameOps {
    void (*initGlState)();
    void (*loadIdentityMatrices)();
    void (*setFrameProjection)(const ScreenSize& screen);
    void (*setWindowProjection)(const ScreenSize& screen);
    // Switches to the window, clears it and draws the frame's texture over the quad.
    void (*blitFrame)(const ScreenSize& screen, const FrameTarget& frame, const FrameQuad& quad);
    void (*finishFrame)();
    void (*readWindowRgba)(int width, int height, std::uint8_t* bottomUpRgba);
    unsigned (*takeGlError)();
};

// FrameTarget.h, TextureResample.h: render targets, made in the steps the fronts take.
struct TargetOps {
    int (*largestFrameSize)();
    // An RGB texture of the size, its picture undefined, left bound.
    unsigned (*createColourTexture)(int width, int height, TargetTexture kind);
    // 24-bit depth with 8-bit stencil.
    unsigned (*createDepthStencil)(int width, int height);
    // A framebuffer drawing into the colour texture and the depth-stencil storage (none for 0),
    // left bound; whether the context can render into it.
    bool (*createFramebuffer)(unsigned colour, unsigned depthStencil, unsigned& framebuffer);
    // Binds the window and deletes what is not 0.
    void (*deleteTarget)(unsigned framebuffer, unsigned depthStencil, unsigned colour);
    // Draws and reads go to the framebuffer; 0 is the window's.
    void (*bindFramebuffer)(unsigned framebuffer);
    // New storage of the size for the depth-stencil; the framebuffer bound and checked.
    bool (*resizeDepthStencil)(unsigned framebuffer, unsigned depthStencil, int width, int height);
    // Resets every buffer of the bound framebuffer (depth and stencil alone without colour) with
    // the context's clear values.
    void (*clearBound)(bool colour);
    // The texture's picture filtered to the new size through the scratch framebuffer, under the
    // texture's name.
    void (*resampleTexture)(unsigned framebuffer, unsigned texture, int newWidth, int newHeight);
};

// Camera.h, Transform.h: the projections and views the set-ups build.
struct CameraOps {
    void (*setStretchedPerspective)(const CameraFrame& camera, float fieldOfView, int width, int height);
    void (*setPixelOrtho)(int width, int height);
    ViewMatrices (*currentView)();
    // The current modelview with the mesh's placement applied.
    Mat4 (*placedModelview)(const MeshObject& mesh);
};

// MeshRenderer.h.
struct MeshOps {
    void (*drawObject)(Model& model, int mesh, const SceneLight& light, int geometry, NormalLines normals);
    void (*drawObjects)(Model& model, const int* meshes, int count, const SceneLight& light, int geometry);
};

// Billboard.h.
struct SpriteOps {
    void (*drawBillboard)(Model& model, const Sprite& sprite);
};

// ShadowVolume.h: counting the volumes and laying their shadow.
struct ShadowOps {
    void (*drawShadowVolume)(Model& model, int mesh);
    void (*blackenShadowed)();
};

// TextureUpload.h: the texture slots.
struct TextureOps {
    void (*reserveTextureNames)(int n);
    std::uint32_t (*largestTextureSide)(bool cubeFace);
    void (*uploadTexture2D)(int slot, int width, int height, const unsigned char* rgb);
    void (*uploadCubeFace)(int slot, int face, int width, int height, const unsigned char* rgb);
    // The 2D texture's level 0 as RGBA rows, bottom first; false when it has none.
    bool (*readTexture2D)(int slot, int& width, int& height, std::vector<std::uint8_t>& rgba);
};

// ShellText.h: the start-up's loading bar and the state the status line is placed in.
struct ShellOps {
    void (*setTextState)();
    void (*placeText)(const ScreenSize& screen, float x, float y, float scale, float centring, const char* text);
    void (*placeStatusText)(const ScreenSize& screen, const char* timeText, const char* fpsText);
    void (*drawLoadingBar)(float progress, int width, int height);
};

struct RenderBackend {
    const char* name = ""; // as --renderer names it
    const char* fastPathName = ""; // what the statistics call the way it draws when it takes its shortcuts
    GlApi api = GlApi::Compatibility; // the context it draws on
    // Brings the back end up on a current context of its API; false when it cannot run there.
    bool (*start)() = nullptr;
    // Whether it draws the fast path's shortcuts on the current context (RenderPath.h).
    bool (*takesShortcuts)() = nullptr;
    const PassOps* pass = nullptr;
    const FrameOps* frame = nullptr;
    const TargetOps* target = nullptr;
    const CameraOps* camera = nullptr;
    const MeshOps* mesh = nullptr;
    const SpriteOps* sprite = nullptr;
    const ShadowOps* shadow = nullptr;
    const TextureOps* texture = nullptr;
    const ShellOps* shell = nullptr;
    const EffectOps* effects = nullptr;
};
