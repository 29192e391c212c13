#pragma once
// The front the scenes and the director draw through for everything but meshes, sprites and the
// post stack's copies: clearing, the state a pass draws under and the start of a show frame.
// Each operation says what a pass is for and names no GL enum; a back end turns it into calls.
//
// A rendering back end provides these and the operations of the fronts beside them:
//   render/Camera.h        the perspective and orthographic set-ups, and the view they leave
//   render/MeshRenderer.h  drawObject, drawObjects
//   render/Billboard.h     drawBillboard
//   render/ShadowVolume.h  drawShadowVolume, blackenShadowed
//   post/EffectBuffers.h   the copies and the full-frame passes over them
// Today's back end is the fixed-function one (PassStateFixedFunction.cpp and the files beside
// those headers); another is one more file per front, chosen when the program starts.

#include <cstdint>

// The buffers a clear resets: colour to opaque black, depth to the far plane, the stencil to
// shadowStencilClear, the count that means no shadow volume covers a pixel.
enum class Buffers : std::uint8_t {
    Colour = 1,
    Depth = 2,
    Stencil = 4,
    ColourAndDepth = Colour | Depth,
    ColourAndStencil = Colour | Stencil,
};

void clear(Buffers buffers);

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

void applyPassState(const PassState& state);

// Every frame of the show starts here: the post stack's own clears give black, and its quads,
// which lie on the far plane, are not hidden where a scene leaves depth testing on.
void beginShowFrame();
