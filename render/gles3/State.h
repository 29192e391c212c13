#pragma once
// State the shader renderer keeps for itself where the fixed-function renderer relies on GL's:
// the raster state (blending, depth, stencil, culling) is set in the ES context exactly as the
// fixed-function renderer sets it, so what one operation leaves for the next is the same in
// both; what ES does not have lives here.
//
// Conventions of the shader renderer's operations:
//   - texture unit 0 is active between operations; a program's samplers use units 0, 1, 2 in
//     the order it names them, and an operation binds every texture it samples;
//   - the vertex array object of the streams stays bound (StreamBuffer.h);
//   - the matrices are those of ShaderMatrices.h, read when an operation draws.

#include "glext/EsTable.h"

namespace gles3 {

// Whether 2D texturing is on, as glEnable(GL_TEXTURE_2D) would have it. Every operation sets it
// as the fixed-function renderer does; the post stack's copies draw untextured while it is off
// (the shell's text state turns it off at the end of each frame, and the next frame's first
// mesh turns it back on).
void setTexturing(bool on);
bool texturing();

// Blending, the depth and stencil tests, culling and texturing as the scope found them, switched
// back at its end: what an operation that draws in its own state keeps for the caller, as
// glPushAttrib(GL_ENABLE_BIT) does for the fixed-function renderer.
class SwitchesScope {
  public:
    SwitchesScope();
    ~SwitchesScope();
    SwitchesScope(const SwitchesScope&) = delete;
    SwitchesScope& operator=(const SwitchesScope&) = delete;

  private:
    bool blend_, depth_, stencil_, cull_, texturing_;
};

// Binds a 2D texture to unit 0 (or to `unit`, leaving unit 0 active) and remembers it.
void bindTexture2D(GLuint texture, int unit = 0);
GLuint boundTexture2D(int unit = 0);
void bindCubeTexture(GLuint texture, int unit);

// How a 2D texture behaves past its edge. ES has no GL_CLAMP, whose linear filter mixes the edge
// texels with a black border: such a texture clamps to its edge in GL and the programs that
// sample it fade the sample towards black as GL_CLAMP would (see kBorderFadeGlsl).
enum class Wrap { Repeat, ClampToEdge, ClampToBlack };
// Sets the wrap of the texture bound to unit 0 (texture is its name).
void setWrap(GLuint texture, Wrap wrap);
bool clampsToBlack(GLuint texture);
Wrap wrapOf(GLuint texture);

// The size of a 2D texture's level 0, which ES 3.0 cannot be asked: noted when it is made.
void noteTextureSize(GLuint texture, int width, int height);
void textureSizeOf(GLuint texture, int& width, int& height);

// GLSL: the factor GL_CLAMP's black border leaves of a linear sample at uv (in texels of size
// `size`) where the sampler itself clamps to its edge; 1 inside the texels' centres.
inline constexpr const char* kBorderFadeGlsl =
    "float borderFade(vec2 uv, vec2 size) {\n"
    "    vec2 x = clamp(uv, 0.0, 1.0) * size;\n"
    "    vec2 edge = clamp(0.5 - x, 0.0, 0.5) + clamp(x - size + 0.5, 0.0, 0.5);\n"
    "    return (1.0 - edge.x) * (1.0 - edge.y);\n"
    "}\n";

} // namespace gles3
