// The shader back end of TextureResample.h.
#include "render/RendererBackends.h"

#include "glext/EsTable.h"
#include "render/ShaderMatrices.h"
#include "render/ShaderQuads.h"
#include "render/ShaderState.h"

namespace shader {

void createResampleTarget(int largestWidth, int largestHeight, unsigned& scratch, unsigned& framebufferName) {
    const GLuint kept = boundTexture2D();
    GLuint texture = 0;
    es::glGenTextures(1, &texture);
    bindTexture2D(texture);
    es::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    es::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    es::glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, largestWidth, largestHeight, 0, GL_RGB, GL_UNSIGNED_BYTE,
                     nullptr);
    bindTexture2D(kept);
    scratch = texture;
    GLuint framebuffer = 0;
    es::glGenFramebuffers(1, &framebuffer);
    es::glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    es::glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    framebufferName = framebuffer;
    es::glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void deleteResampleTarget(unsigned scratch, unsigned framebufferName) {
    es::glBindFramebuffer(GL_FRAMEBUFFER, 0);
    const GLuint framebuffer = framebufferName, texture = scratch;
    es::glDeleteFramebuffers(1, &framebuffer);
    es::glDeleteTextures(1, &texture);
}

void resampleTexture(unsigned framebuffer, unsigned texture, int newWidth, int newHeight) {
    // What the fixed-function renderer keeps with glPushAttrib: the switches, the viewport and
    // the texture on unit 0.
    const SwitchesScope keptSwitches;
    GLint viewport[4] = {0, 0, 0, 0};
    es::glGetIntegerv(GL_VIEWPORT, viewport);
    const GLuint keptTexture = boundTexture2D();
    const ProjectionScope keptProjection;
    const ModelviewScope keptModelview;

    // The old picture, filtered as the texture filters it (a GL_CLAMP copy fades into its black
    // border as it does in GL), over the new size in the scratch target's corner.
    es::glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    es::glViewport(0, 0, newWidth, newHeight);
    es::glDisable(GL_BLEND);
    es::glDisable(GL_DEPTH_TEST);
    es::glDisable(GL_STENCIL_TEST);
    es::glDisable(GL_CULL_FACE);
    setTexturing(true);
    bindTexture2D(texture);
    projectionMatrix() = ortho(0.0, 1.0, 0.0, 1.0, -1.0, 1.0);
    modelviewMatrix() = Mat4{};
    drawRectangle(Texturing::Replace, {}, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f);

    // New storage under the same name (its wrap and filters stay), filled from the scratch target.
    es::glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, newWidth, newHeight, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    es::glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, newWidth, newHeight);
    noteTextureSize(texture, newWidth, newHeight);
    es::glBindFramebuffer(GL_FRAMEBUFFER, 0);

    es::glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    bindTexture2D(keptTexture);
}

} // namespace shader
