#include "render/ScreenBlit.h"

#include "render/Backends.h"
#include "render/FrameProjection.h"
#include "render/FrameSize.h"
#include "render/FrameTarget.h"

bool prepareFrame(const ScreenSize& screen, FrameTarget& frame) {
    const RenderBackend& b = backend();
    if (!b.start()) return false;
    b.frame->initGlState();
    b.frame->loadIdentityMatrices();
    return createFrameTarget(frame, screen);
}

FrameQuad frameQuadIn(const ScreenSize& screen) {
    // 1/1024 and 1/768 as the quad was laid out for a 1024 x 768 window: 512 x 384 halves.
    const PictureArea picture = pictureAreaIn(screen.windowWidth, screen.windowHeight);
    const float sx = static_cast<float>(picture.width) * 0.0009765625f;
    const float sy = static_cast<float>(picture.height) * 0.0013020834f;
    return {.centreX = static_cast<float>(picture.x) +
                       0.5f * static_cast<float>(picture.width - screen.windowWidth),
            .centreY = static_cast<float>(picture.y) +
                       0.5f * static_cast<float>(picture.height - screen.windowHeight),
            .halfWidth = 512.0f * sx,
            .halfHeight = 384.0f * sy};
}

void blitFrame(const ScreenSize& screen, const FrameTarget& frame) {
    backend().frame->blitFrame(screen, frame, frameQuadIn(screen));
}

void finishFrame() { backend().frame->finishFrame(); }
