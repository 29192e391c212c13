#pragma once
// How the shader renderer's post passes draw: quads of the effect sets through the quad and
// effect programs, the copies between passes, and passes rendered into textures.

#include "glext/EsTable.h"
#include "post/EffectPasses.h"
#include "post/gles3/EffectPrograms.h"
#include "render/gles3/Matrices.h"
#include "render/gles3/Quads.h"
#include "render/gles3/State.h"

namespace gles3 {

// Every drawing operation draws in an identity modelview and hands the caller's back.
class Quads {
  public:
    Quads() { modelviewMatrix() = Mat4{}; }

  private:
    ModelviewScope kept_;
};

void drawArea(const QuadArea& a, float s0 = 0.0f, float t0 = 0.0f, float s1 = 1.0f, float t1 = 1.0f);

// A full-frame quad of one set with the quad programs.
void drawSetQuad(bool small, const EffectTextures& e, Texturing texturing, const QuadColour& colour, Reach reach,
                 float s0 = 0.0f, float t0 = 0.0f, float s1 = 1.0f, float t1 = 1.0f);

// The texture environment a fixed-function quad gets: none while 2D texturing is off.
Texturing textured(Texturing t);

// Copies the region of the sampled set into pass texture i for the next pass.
void grabPass(const EffectTextures& e, int i, int sourceX);

void makeTexture(GLuint name, int width, int height, Wrap wrap, const unsigned char* pixels, GLenum format = GL_RGB);

// Draws a quad over the whole of the render target with the program in use (identity matrices).
void drawTargetQuad(const EffectProgram& p);

// Draws go to textures of the given size for the scope's extent; the frame's framebuffer and
// viewport come back at its end.
class TextureTarget {
  public:
    TextureTarget(int width, int height);
    ~TextureTarget();
    TextureTarget(const TextureTarget&) = delete;
    TextureTarget& operator=(const TextureTarget&) = delete;

  private:
    GLint frameBuffer_ = 0;
    GLint viewport_[4] = {};
};

// Draws go into the texture through the framebuffer.
void renderInto(GLuint framebuffer, GLuint texture);

} // namespace gles3
