// The post stack's fast path against its reference: copies shown texel for texel read
// unfiltered, blur's taps and burn's quads drawn as one quad each, a zoom streak without strength
// drawn once and a shadow mask composed at half size must leave the frame and the state the
// reference leaves.
#include "EffectTestSupport.h"

#include "render/RenderPath.h"

#include <GL/gl.h>

#include <functional>

namespace {

using EffectFastPath = EffectBuffersTest;

constexpr int kFrame = 512;

struct Outcome {
    Image frame;
    GLint blendSource = 0, blendDestination = 0, env = 0;
    bool blending = false;
};

// Runs `operation` on the same starting frame and grabs along each path.
Outcome runOn(RenderPath path, const Image& start, const std::function<void()>& operation) {
    setRenderPath(path);
    drawImage(start);
    operation();
    setRenderPath(RenderPath::Reference);
    Outcome o;
    o.frame = readFrame(0, 0, kFrame, kFrame);
    glGetIntegerv(GL_BLEND_SRC, &o.blendSource);
    glGetIntegerv(GL_BLEND_DST, &o.blendDestination);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &o.env);
    o.blending = glIsEnabled(GL_BLEND) == GL_TRUE;
    return o;
}

void expectSameOutcome(const Outcome& reference, const Outcome& fast, int tolerance) {
    EXPECT_TRUE(imagesNear(reference.frame, fast.frame, tolerance));
    EXPECT_EQ(fast.blendSource, reference.blendSource);
    EXPECT_EQ(fast.blendDestination, reference.blendDestination);
    EXPECT_EQ(fast.env, reference.env);
    EXPECT_EQ(fast.blending, reference.blending);
}

TEST_F(EffectFastPath, BlurInOneQuadAPassGivesTheTapsPixels) {
    const Image pattern = makePattern(kFrame, kFrame);
    for (const int index : {1, 3}) { // clamped and wrapping textures
        const auto blur = [&] {
            fx.grab(static_cast<Copy>(index));
            fx.blur(static_cast<Copy>(index),
                    {.passes = 5, .stretchX = 2.5f, .stretchY = 1.5f, .spread = 6.0f, .g = 0.8f});
        };
        const Outcome reference = runOn(RenderPath::Reference, pattern, blur);
        const Outcome fast = runOn(RenderPath::Fast, pattern, blur);
        // The taps are rounded as the reference's framebuffer rounds them, pass after pass.
        expectSameOutcome(reference, fast, 2);
    }
}

TEST_F(EffectFastPath, SmallBlurStaysInTheSmallSet) {
    const Image region = makePattern(256, 128);
    const auto blur = [&] {
        fx.sampleSmall = fx.targetSmall = 1;
        useSmallViewport();
        fx.grab(Copy::Glow);
        fx.blur(Copy::Glow, {.passes = 4, .stretchX = 2.0f, .stretchY = 2.0f, .spread = 0.5f});
        fx.grab(Copy::Work);
        fx.sampleSmall = fx.targetSmall = 0;
        setFrameProjection(screen, 800, 600);
    };
    runOn(RenderPath::Reference, region, blur);
    const Image reference = readTexture(fx.smallCopyTex[1]);
    runOn(RenderPath::Fast, region, blur);
    EXPECT_TRUE(imagesNear(reference, readTexture(fx.smallCopyTex[1]), 2));
}

TEST_F(EffectFastPath, BurnInOneQuadAPassGivesBothQuadsPixels) {
    const Image pattern = makePattern(kFrame, kFrame);
    for (const int passes : {1, 3}) {
        const auto burn = [&] {
            fx.grab(Copy::Picture);
            fx.burn(Copy::Picture, passes, 0.6f);
        };
        const Outcome reference = runOn(RenderPath::Reference, pattern, burn);
        const Outcome fast = runOn(RenderPath::Fast, pattern, burn);
        expectSameOutcome(reference, fast, 2);
    }
}

TEST_F(EffectFastPath, CopiesShownTexelForTexelKeepTheirPixelsAndTheirFilter) {
    // The fast path reads such copies unfiltered; the scenes that stretch a copy over a mesh
    // (the duck's glass, the closing's room) still need it filtered afterwards.
    const Image pattern = makePattern(kFrame, kFrame);
    const auto copies = [&] {
        fx.grab(Copy::Picture);
        fx.show(Copy::Picture, 0.7f);
        fx.overlay(Copy::Picture, 0.5f, 0.1f, Overlay::Mix);
        fx.burn(Copy::Picture, 2, 0.4f);
        fx.multiply(Copy::Picture);
    };
    const Outcome reference = runOn(RenderPath::Reference, pattern, copies);
    const Outcome fast = runOn(RenderPath::Fast, pattern, copies);
    expectSameOutcome(reference, fast, 1);
    for (const unsigned texture : {fx.copyTex[2], fx.passTex[2]}) {
        GLint minFilter = 0, magFilter = 0;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
        EXPECT_EQ(minFilter, GL_LINEAR);
        EXPECT_EQ(magFilter, GL_LINEAR);
    }
}

TEST_F(EffectFastPath, StreakWithoutStrengthDrawnOnceGivesAllItsPasses) {
    const Image pattern = makePattern(kFrame, kFrame);
    const Image other =
        combine(pattern, pattern, [](double a, double, int c) { return c == 1 ? 255 - a : a; });
    const auto streak = [&] {
        fx.zoomStreak(Copy::Glow,
                      {.passes = 10, .alpha = 0.4f, .angle = 0.5f, .strength = 0.0f, .streakFade = 0.3f});
    };
    // The grab differs from the frame it is laid over, so the first pass does change the frame.
    drawImage(other);
    fx.grab(Copy::Glow);
    const Outcome reference = runOn(RenderPath::Reference, pattern, streak);
    const Outcome fast = runOn(RenderPath::Fast, pattern, streak);
    expectSameOutcome(reference, fast, 1);
}

TEST_F(EffectFastPath, HalfSizeMaskCompositionGivesTheReferencesFrame) {
    // A lit picture, a glow in the small set and a mask with hard edges that the blur softens
    // as the cave's does (its reach in texture units: the small set here is half as wide).
    const BlurDesc blur{.passes = 5, .stretchX = 1.25f, .stretchY = 1.25f, .spread = 0.083333336f};
    const Image picture = makePattern(kFrame, kFrame);
    const Image glow = combine(makePattern(256, 128), makePattern(256, 128),
                               [](double a, double, int c) { return c == 0 ? a - 40.0 : 0.5 * a; });
    const auto setUpCopies = [&] {
        drawImage(glow);
        fx.targetSmall = 1;
        fx.grab(Copy::Glow);
        fx.targetSmall = 0;
        drawImage(picture);
        fx.grab(Copy::Picture);
    };
    const auto fullSizeMask = [] {
        fillRect(0, 0, kFrame, kFrame, 0, 0, 0);
        fillRect(96, 160, 240, 200, 255, 255, 255);
    };

    setUpCopies();
    fullSizeMask();
    fx.grab(Copy::Work);
    fx.blur(Copy::Work, blur);
    fx.grab(Copy::Work);
    glClear(GL_COLOR_BUFFER_BIT);
    fx.overlay(Copy::Picture, 1.0f, 0.0f, Overlay::Mix);
    fx.multiply(Copy::Work);
    fx.sampleSmall = 1;
    fx.overlay(Copy::Glow, 1.0f, 0.0f, Overlay::Add);
    fx.sampleSmall = 0;
    const Image reference = readFrame(0, 0, kFrame, kFrame);

    for (const bool drawnAtHalfSize : {false, true}) {
        setUpCopies();
        if (drawnAtHalfSize) {
            fillRect(0, 0, kFrame, kFrame, 0, 0, 0);
            fillRect(48, 80, 120, 100, 255, 255, 255);
        } else {
            fullSizeMask();
        }
        setRenderPath(RenderPath::Fast);
        fx.composeHalfMask({.picture = Copy::Picture,
                            .mask = Copy::Work,
                            .maskOnScreenAtHalfSize = drawnAtHalfSize,
                            .maskBlur = blur,
                            .glow = Copy::Glow});
        setRenderPath(RenderPath::Reference);
        // The mask's edges come out of a half-size blur a few levels off; a mask, picture or
        // glow misplaced by a pixel is off by far more.
        EXPECT_TRUE(imagesNear(reference, readFrame(0, 0, kFrame, kFrame), 4)) << drawnAtHalfSize;
    }
}

} // namespace
