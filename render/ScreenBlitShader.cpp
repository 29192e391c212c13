// The shader back end of ScreenBlit.h.
#include "render/RendererBackends.h"

#include "glext/EsTable.h"
#include "render/FrameSize.h"
#include "render/ShaderMatrices.h"
#include "render/ShaderQuads.h"
#include "render/ShaderState.h"

namespace shader {

bool prepareFrame(const ScreenSize& screen, FrameTarget& frame) {
    if (!start()) return false;
    initGlState();
    projectionMatrix() = Mat4{};
    modelviewMatrix() = Mat4{};
    return shader::createFrameTarget(frame, screen);
}

void blitFrame(const ScreenSize& screen, const FrameTarget& frame) {
    // As the fixed-function blit lays it out: the centred 4:3 picture, sized as for 1024 x 768.
    const PictureArea picture = pictureAreaIn(screen.windowWidth, screen.windowHeight);
    const float sx = static_cast<float>(picture.width) * 0.0009765625f;
    const float sy = static_cast<float>(picture.height) * 0.0013020834f;
    const float cx =
        static_cast<float>(picture.x) + 0.5f * static_cast<float>(picture.width - screen.windowWidth);
    const float cy =
        static_cast<float>(picture.y) + 0.5f * static_cast<float>(picture.height - screen.windowHeight);

    setTexturing(true);
    es::glDisable(GL_DEPTH_TEST);
    es::glDisable(GL_BLEND);
    bindWindowTarget();
    bindTexture2D(frame.colour);
    es::glClear(GL_COLOR_BUFFER_BIT);
    shader::setWindowProjection(screen);
    {
        const ModelviewScope kept;
        modelviewMatrix() = translation(cx, cy, 0.0f);
        drawRectangle(Texturing::Replace, {}, -512.0f * sx, -384.0f * sy, 512.0f * sx, 384.0f * sy, -1.0f);
    }
}

void finishFrame() { es::glFinish(); }

} // namespace shader
