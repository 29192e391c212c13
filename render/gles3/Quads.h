#pragma once
// Quads in the shader renderer: the post stack's full-frame passes, the frame stretched over the
// window, the loading bar. Each fragment is the texture bound to unit 0 combined with one colour
// as the fixed pipeline's texture environment combines them for an RGB texture (the alpha is the
// colour's), and the colour is clamped to [0, 1] as GL clamps vertex colours.

#include "render/gles3/StreamBuffer.h"

namespace gles3 {

enum class Texturing {
    None,     // the colour alone: texturing off
    Add,      // colour + texel, clamped (GL_ADD)
    Modulate, // colour x texel (GL_MODULATE)
    Replace,  // the texel (GL_REPLACE)
};

struct QuadColour {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 1.0f;
};

// Whether a quad's samples can fall past the edge texels' centres, where a texture that clamps
// to black (GL_CLAMP) needs its border faded in. A quad that lays a texture texel for texel over
// pixels never does, and draws with the plainer program.
enum class Reach { PastEdges, WithinTexels };

// Builds the programs; false when one does not build (already reported).
bool initQuadPrograms();

// Draws the quads under the current projection and modelview.
void drawQuadsWith(Texturing texturing, const QuadColour& colour, const QuadVertex* vertices, int quads,
                   Reach reach = Reach::PastEdges);

// One quad from (x0, y0) to (x1, y1) at depth z, texture corners (s0, t0) to (s1, t1).
void drawRectangle(Texturing texturing, const QuadColour& colour, float x0, float y0, float x1, float y1,
                   float z, float s0 = 0.0f, float t0 = 0.0f, float s1 = 1.0f, float t1 = 1.0f,
                   Reach reach = Reach::PastEdges);

} // namespace gles3
