// The window, its projections and the end of a frame: the matrices kept in Matrices.h, the
// window's quad drawn with the quad programs. On request (CASTRELLE_GL_DEBUG set) the context's
// debug messages (KHR_debug) name the call and value GL refused. They are off otherwise: with
// them on, Mesa's llvmpipe runs the show about a third slower (measured on the cave).
#include "render/Backend.h"

#include "render/gl/CommonGl.h"
#include "glext/EsTable.h"
#include "render/gles3/Gles3.h"
#include "render/gles3/Matrices.h"
#include "render/gles3/Quads.h"
#include "render/gles3/State.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace gles3 {

namespace {

void initGlState() {
    es::glEnable(GL_BLEND);
    es::glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
    setTexturing(true);
    es::glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    es::glDisable(GL_DEPTH_TEST);
    es::glClear(GL_COLOR_BUFFER_BIT);
}

void loadIdentityMatrices() {
    projectionMatrix() = Mat4{};
    modelviewMatrix() = Mat4{};
}

void setFrameProjection(const ScreenSize& screen) {
    es::glViewport(0, 0, screen.frameWidth, screen.frameHeight);
    const int halfW = screen.frameWidth / 2, halfH = screen.frameHeight / 2;
    projectionMatrix() = ortho(-halfW, halfW, -halfH, halfH, 0.0, 1.0);
}

void setWindowProjection(const ScreenSize& screen) {
    es::glViewport(0, 0, screen.windowWidth, screen.windowHeight);
    projectionMatrix() = ortho(-0.5 * screen.windowWidth, 0.5 * screen.windowWidth,
                               -0.5 * screen.windowHeight, 0.5 * screen.windowHeight, 0.1, 100000.0);
}

void blitFrame(const ScreenSize& screen, const FrameTarget& frame, const FrameQuad& quad) {
    setTexturing(true);
    es::glDisable(GL_DEPTH_TEST);
    es::glDisable(GL_BLEND);
    es::glBindFramebuffer(GL_FRAMEBUFFER, 0);
    bindTexture2D(frame.colour);
    es::glClear(GL_COLOR_BUFFER_BIT);
    setWindowProjection(screen);
    const ModelviewScope kept;
    modelviewMatrix() = translation(quad.centreX, quad.centreY, 0.0f);
    drawRectangle(Texturing::Replace, {}, -quad.halfWidth, -quad.halfHeight, quad.halfWidth, quad.halfHeight, -1.0f);
}

int gMessagesLeft = 8; // enough to see the fault, not a flood from one per frame

void GL_APIENTRY reportDebugMessage(GLenum, GLenum type, GLuint, GLenum, GLsizei, const GLchar* message,
                                    const void*) {
    if (type != GL_DEBUG_TYPE_ERROR_KHR || gMessagesLeft <= 0) return;
    --gMessagesLeft;
    std::fprintf(stderr, "castrelle: GL: %s\n", message);
}

} // namespace

void enableDebugMessages() {
    const char* extensions = reinterpret_cast<const char*>(es::glGetString(GL_EXTENSIONS));
    if (!std::getenv("CASTRELLE_GL_DEBUG") || !extensions || !std::strstr(extensions, "GL_KHR_debug")) return;
    es::glDebugMessageCallbackKHR(reportDebugMessage, nullptr);
    es::glEnable(GL_DEBUG_OUTPUT_KHR);
}

extern const FrameOps frameOps{.initGlState = initGlState,
                               .loadIdentityMatrices = loadIdentityMatrices,
                               .setFrameProjection = setFrameProjection,
                               .setWindowProjection = setWindowProjection,
                               .blitFrame = blitFrame,
                               .finishFrame = gl::finishFrame,
                               .readWindowRgba = gl::readWindowRgba,
                               .takeGlError = gl::takeGlError};

} // namespace gles3
