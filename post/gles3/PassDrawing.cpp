#include "post/gles3/PassDrawing.h"

#include "render/gles3/StreamBuffer.h"

namespace gles3 {

void drawArea(const QuadArea& a, float s0, float t0, float s1, float t1) {
    const QuadVertex v[4] = {{a.x0, a.y0, -1.0f, s0, t0},
                             {a.x1, a.y0, -1.0f, s1, t0},
                             {a.x1, a.y1, -1.0f, s1, t1},
                             {a.x0, a.y1, -1.0f, s0, t1}};
    drawQuads(v, 1);
    countQuadFrames(a.frames);
}

void drawSetQuad(bool small, const EffectTextures& e, Texturing texturing, const QuadColour& colour,
                 Reach reach, float s0, float t0, float s1, float t1) {
    const QuadArea a = setArea(small, e);
    drawRectangle(texturing, colour, a.x0, a.y0, a.x1, a.y1, -1.0f, s0, t0, s1, t1, reach);
    countQuadFrames(a.frames);
}

Texturing textured(Texturing t) { return texturing() ? t : Texturing::None; }

void grabPass(const EffectTextures& e, int i, int sourceX) {
    if (e.sampleSmall) {
        bindTexture2D(e.smallPassTex[i]);
        es::glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, sourceX, e.smallSourceY, e.smallWidth, e.smallHeight);
    } else {
        bindTexture2D(e.passTex[i]);
        es::glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, sourceX, e.fullSourceY, e.fullWidth, e.fullHeight);
    }
}

void makeTexture(GLuint name, int width, int height, Wrap wrap, const unsigned char* pixels, GLenum format) {
    bindTexture2D(name);
    es::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    es::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    setWrap(name, wrap);
    es::glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format, GL_UNSIGNED_BYTE,
                     pixels);
    noteTextureSize(name, width, height);
}

void drawTargetQuad(const EffectProgram& p) {
    const Mat4 identity{};
    es::glUniformMatrix4fv(p.matrix, 1, GL_FALSE, identity.m);
    drawArea({-1.0f, -1.0f, 1.0f, 1.0f, 0.0});
}

void renderInto(GLuint framebuffer, GLuint texture) {
    es::glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    es::glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
}

TextureTarget::TextureTarget(int width, int height) {
    es::glGetIntegerv(GL_FRAMEBUFFER_BINDING, &frameBuffer_);
    es::glGetIntegerv(GL_VIEWPORT, viewport_);
    es::glViewport(0, 0, width, height);
}

TextureTarget::~TextureTarget() {
    es::glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(frameBuffer_));
    es::glViewport(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
}

} // namespace gles3
