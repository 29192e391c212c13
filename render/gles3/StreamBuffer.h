#pragma once
// How the shader renderer's draws hand their vertices and indices to GL: through one vertex and
// one index buffer that each draw appends to, since WebGL and core contexts take no client-side
// arrays. A buffer that fills up gets fresh storage instead of being overwritten, so no draw
// waits for an earlier one still reading it. The buffers grow only for a draw larger than any
// before (the warm-up renders); a steady frame allocates nothing.

#include "glext/EsTable.h"

namespace gles3 {

// Where each attribute lies in a vertex of `stride` bytes (floats); a size of 0: the layout has
// none, and the attribute reads its constant value.
struct VertexLayout {
    GLsizei stride = 0;
    GLint positionSize = 3;
    GLsizei positionOffset = 0;
    GLint normalSize = 0;
    GLsizei normalOffset = 0;
    GLint texCoordSize = 0;
    GLsizei texCoordOffset = 0;
    GLint colourSize = 0;
    GLsizei colourOffset = 0;
};

// Creates the buffers and the vertex array object the draws use; once per context.
void initStreams();

// Copies `count` vertices of the layout into the vertex stream and points the attributes at them.
void streamVertices(const VertexLayout& layout, const void* vertices, int count);

// Copies the indices into the index stream and binds it; returns the offset glDrawElements takes.
const void* streamIndices(const GLuint* indices, int count);

// Binds an index buffer that splits `quads` consecutive quads of four vertices into triangles
// (0 1 2 and 0 2 3, so each quad is a fan round its first corner); glDrawElements reads from 0.
void bindQuadIndices(int quads);

// The colour of vertices whose layout has none, as glColor4f sets the fixed pipeline's.
void setConstantColour(float r, float g, float b, float a);

// A vertex of the full-frame quads: a position and one texture coordinate.
struct QuadVertex {
    float x, y, z;
    float s, t;
};
inline constexpr VertexLayout kQuadLayout{.stride = sizeof(QuadVertex),
                                          .positionSize = 3,
                                          .positionOffset = 0,
                                          .texCoordSize = 2,
                                          .texCoordOffset = 3 * sizeof(float)};

// Draws `quads` quads of four vertices each with the program in use.
void drawQuads(const QuadVertex* vertices, int quads);

} // namespace gles3
