// Render targets in the ES context, and textures resampled through them with the quad programs.
#include "render/Backend.h"

#include "render/gl/CommonGl.h"
#include "glext/EsTable.h"
#include "render/gles3/Matrices.h"
#include "render/gles3/Quads.h"
#include "render/gles3/State.h"


namespace gles3 {

namespace {

unsigned createFrameTexture(int width, int height) {
    GLuint texture = 0;
    es::glGenTextures(1, &texture);
    bindTexture2D(texture);
    // RGB like the window, so blending reads a destination alpha of 1; the stretch over the window
    // reads past the edge texels as the fixed-function renderer's GL_CLAMP does.
    es::glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    es::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    es::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    setWrap(texture, Wrap::ClampToBlack);
    noteTextureSize(texture, width, height);
    return texture;
}

// Unit 0 keeps the texture it had.
unsigned createScratchTexture(int width, int height) {
    const GLuint kept = boundTexture2D();
    GLuint texture = 0;
    es::glGenTextures(1, &texture);
    bindTexture2D(texture);
    es::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    es::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    es::glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    bindTexture2D(kept);
    return texture;
}

unsigned createColourTexture(int width, int height, TargetTexture kind) {
    return kind == TargetTexture::Frame ? createFrameTexture(width, height) : createScratchTexture(width, height);
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

} // namespace

extern const TargetOps targetOps{.largestFrameSize = gl::largestFrameSize,
                                 .createColourTexture = createColourTexture,
                                 .createDepthStencil = gl::createDepthStencil,
                                 .createFramebuffer = gl::createFramebuffer,
                                 .deleteTarget = gl::deleteTarget,
                                 .bindFramebuffer = gl::bindFramebuffer,
                                 .resizeDepthStencil = gl::resizeDepthStencil,
                                 .clearBound = gl::clearBound,
                                 .resampleTexture = resampleTexture};

} // namespace gles3
