// Render targets in the ES context, and textures resampled through them with the quad programs.
#include "render/Backend.h"

#include "glext/EsTable.h"
#include "render/gles3/Matrices.h"
#include "render/gles3/Quads.h"
#include "render/gles3/State.h"

#include <algorithm>

namespace gles3 {

namespace {

int largestFrameSize() {
    GLint texture = 0, renderbuffer = 0, viewport[2] = {0, 0};
    es::glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
    es::glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    es::glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    return std::min({texture, renderbuffer, viewport[0], viewport[1]});
}

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

unsigned createDepthStencil(int width, int height) {
    GLuint depthStencil = 0;
    es::glGenRenderbuffers(1, &depthStencil);
    es::glBindRenderbuffer(GL_RENDERBUFFER, depthStencil);
    es::glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    return depthStencil;
}

bool createFramebuffer(unsigned colour, unsigned depthStencil, unsigned& name) {
    GLuint framebuffer = 0;
    es::glGenFramebuffers(1, &framebuffer);
    es::glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    es::glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
    if (depthStencil)
        es::glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthStencil);
    name = framebuffer;
    return es::glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void bindFramebuffer(unsigned framebuffer) { es::glBindFramebuffer(GL_FRAMEBUFFER, framebuffer); }

void deleteTarget(unsigned framebufferName, unsigned depthStencil, unsigned colour) {
    bindFramebuffer(0);
    const GLuint framebuffer = framebufferName, renderbuffer = depthStencil, texture = colour;
    if (framebuffer) es::glDeleteFramebuffers(1, &framebuffer);
    if (renderbuffer) es::glDeleteRenderbuffers(1, &renderbuffer);
    if (texture) es::glDeleteTextures(1, &texture);
}

bool resizeDepthStencil(unsigned framebuffer, unsigned depthStencil, int width, int height) {
    es::glBindRenderbuffer(GL_RENDERBUFFER, depthStencil);
    es::glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    es::glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    return es::glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void clearBound(bool colour) {
    es::glClear((colour ? GL_COLOR_BUFFER_BIT : 0) | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
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

extern const TargetOps targetOps{.largestFrameSize = largestFrameSize,
                                 .createColourTexture = createColourTexture,
                                 .createDepthStencil = createDepthStencil,
                                 .createFramebuffer = createFramebuffer,
                                 .deleteTarget = deleteTarget,
                                 .bindFramebuffer = bindFramebuffer,
                                 .resizeDepthStencil = resizeDepthStencil,
                                 .clearBound = clearBound,
                                 .resampleTexture = resampleTexture};

} // namespace gles3
