// The shader back end of TextureResample.h.
#include "render/RendererBackends.h"

#include "glext/EsTable.h"
#include "render/ShaderMatrices.h"
#include "render/ShaderQuads.h"
#include "render/ShaderState.h"

namespace shader {

void createResampler(int largestWidth, int largestHeight, unsigned& scratch, unsigned& framebufferName) {
    GLuint texture = 0;
    es::glGenTextures(1, &texture);
    bindTexture2D(texture);
    es::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    es::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    es::glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, largestWidth, largestHeight, 0, GL_RGB, GL_UNSIGNED_BYTE,
                     nullptr);
    noteTextureSize(texture, largestWidth, largestHeight);
    scratch = texture;
    GLuint framebuffer = 0;
    es::glGenFramebuffers(1, &framebuffer);
    es::glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    es::glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    framebufferName = framebuffer;
    es::glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void destroyResampler(unsigned scratch, unsigned framebufferName) {
    es::glBindFramebuffer(GL_FRAMEBUFFER, 0);
    const GLuint framebuffer = framebufferName, texture = scratch;
    es::glDeleteFramebuffers(1, &framebuffer);
    es::glDeleteTextures(1, &texture);
}

namespace {

// Turns a capability off for the scope's extent and back on after if it was on.
class Disabled {
  public:
    explicit Disabled(GLenum cap) : cap_(cap), was_(es::glIsEnabled(cap) == GL_TRUE) { es::glDisable(cap); }
    ~Disabled() {
        if (was_) es::glEnable(cap_);
    }
    Disabled(const Disabled&) = delete;
    Disabled& operator=(const Disabled&) = delete;

  private:
    GLenum cap_;
    bool was_;
};

} // namespace

void resample(unsigned framebuffer, unsigned texture, int newWidth, int newHeight) {
    GLint viewport[4] = {};
    es::glGetIntegerv(GL_VIEWPORT, viewport);
    const GLuint bound = boundTexture2D();
    {
        const Disabled blend(GL_BLEND), depth(GL_DEPTH_TEST), stencil(GL_STENCIL_TEST), cull(GL_CULL_FACE),
            scissor(GL_SCISSOR_TEST);
        const ProjectionScope projection;
        const ModelviewScope modelview;
        projectionMatrix() = Mat4{};
        modelviewMatrix() = Mat4{};

        // The old picture, filtered (black past a GL_CLAMP texture's edge, as GL filters it), over
        // the new size in the scratch target's corner.
        es::glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        es::glViewport(0, 0, newWidth, newHeight);
        bindTexture2D(texture);
        drawRectangle(Texturing::Replace, {1.0f, 1.0f, 1.0f, 1.0f}, -1.0f, -1.0f, 1.0f, 1.0f, 0.0f);

        // New storage under the same name, filled from the scratch target. Every texture resampled
        // is RGB.
        es::glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, newWidth, newHeight, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
        es::glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, newWidth, newHeight);
        noteTextureSize(texture, newWidth, newHeight);
        es::glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }
    es::glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    bindTexture2D(bound);
}

} // namespace shader
