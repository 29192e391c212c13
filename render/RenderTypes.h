#pragma once
// The records the fronts of render/ and every back end behind them share: what a pass asks of
// the raster state, the frame and the window it is stretched over, the view a camera set-up
// leaves, and the options of a draw. Plain data, no GL.

#include <cstdint>

// --- Passes ----------------------------------------------------------------------------------

// The buffers a clear resets: colour to opaque black, depth to the far plane, the stencil to
// shadowStencilClear, the count that means no shadow volume covers a pixel.
enum class Buffers : std::uint8_t {
    Colour = 1,
    Depth = 2,
    Stencil = 4,
    ColourAndDepth = Colour | Depth,
    ColourAndStencil = Colour | Stencil,
};

inline bool includes(Buffers set, Buffers buffer) {
    return (static_cast<unsigned>(set) & static_cast<unsigned>(buffer)) != 0;
}

// The stencil value of a pixel that no shadow volume covers.
constexpr int shadowStencilClear = 127;

// How a pass treats depth.
enum class DepthMode : std::uint8_t {
    Ignored, // drawn over whatever the frame holds: the post stack's full-frame quads
    Tested,  // meshes hide one another; the mesh renderer picks the comparison for each layer
};

// How a pass treats the shadow counts the shadow volumes left in the stencil.
enum class StencilMode : std::uint8_t {
    Ignored,
    Unshadowed, // draws land only where no volume left a count
};

struct PassState {
    DepthMode depth = DepthMode::Ignored;
    StencilMode stencil = StencilMode::Ignored;
};

// Meshes through the camera.
inline constexpr PassState kMeshPass{.depth = DepthMode::Tested};
// The post stack's passes over the picture, and sprites laid over it.
inline constexpr PassState kScreenPass{.depth = DepthMode::Ignored};
// A shadowed frame's mask: the surfaces, lit only where no shadow volume reaches.
inline constexpr PassState kUnshadowedPass{.depth = DepthMode::Tested, .stencil = StencilMode::Unshadowed};

// --- The frame and the window -------------------------------------------------------------------

struct ScreenSize {
    int windowWidth = 800;  // client area, rewritten when the window is resized
    int windowHeight = 600;
    int frameWidth = 512;   // internal frame every scene renders at
    int frameHeight = 512;
};

// The frame every scene draws into: an offscreen framebuffer of the frame size with its own
// depth and stencil.
struct FrameTarget {
    unsigned framebuffer = 0;
    unsigned colour = 0; // the frame as a texture: RGB like the window, so destination alpha reads 1
    unsigned depthStencil = 0;
    int width = 0;
    int height = 0;
};

// What a colour texture made for rendering into is for.
enum class TargetTexture : std::uint8_t {
    Frame,   // the frame: filtered linearly when stretched, black past its edges as GL_CLAMP is
    Scratch, // a copy's way station: read texel for texel
};

// Where the finished frame lands in the window, in the window's projection (origin at its
// centre): the quad's centre and half sizes.
struct FrameQuad {
    float centreX = 0.0f, centreY = 0.0f;
    float halfWidth = 0.0f, halfHeight = 0.0f;
};

// --- Cameras -------------------------------------------------------------------------------------

// Aspect ratio of every perspective, whatever the viewport.
inline constexpr double kCameraAspect = 4.0 / 3.0;
inline constexpr double kCameraNear = 0.1;
inline constexpr double kCameraFar = 1000.0;

// The stretched-depth perspective replaces the projection's third-row depth terms (elements 10
// and 14): clip depth -0.01 z - 0.101 over w = -z puts the near distance at -1 and every farther
// point above -1 and below 0.01, so there is no far plane. Shadow-volume caps sent to infinity
// depend on it.
inline constexpr float kStretchedDepthScale = -0.01f;
inline constexpr float kStretchedDepthOffset = -0.101f;

// The projection and the view the last set-up left, column-major 4 x 4 as GL keeps them: where a
// scene point lands on screen.
struct ViewMatrices {
    float modelview[16] = {};
    float projection[16] = {};
};

// --- Draws ---------------------------------------------------------------------------------------

// What drawObject draws.
inline constexpr int kRestShape = 0;    // positions with restNormals
inline constexpr int kWorkingShape = 1; // workPositions with vertexNormals (cone test if coneCull)

// NormalLines::Shown overlays the rest normals as lines after each pass, for looking at a mesh.
enum class NormalLines { Hidden, Shown };

// The part of a sprite's texture to draw, in texture coordinates; the rest of the rectangle is
// left out where it would have been.
struct BillboardWindow {
    float u0 = 0.0f, v0 = 0.0f;
    float u1 = 1.0f, v1 = 1.0f;
};

// A sprite as drawBillboard places it: centred on (x, y, z) in the current modelview's space,
// halfWidth by halfHeight in world units, texture `slot` modulated by the colour.
struct Sprite {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    int slot = 0;
    float halfWidth = 0.0f, halfHeight = 0.0f;
    float r = 1.0f, g = 1.0f, b = 1.0f, a = 1.0f;
    BillboardWindow window;
};
