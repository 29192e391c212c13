#include "EffectTestSupport.h"

#include <GL/gl.h>

#include <cmath>

namespace {

using EffectBurn = EffectBuffersTest;
using EffectBlur = EffectBuffersTest;
using EffectZoomStreak = EffectBuffersTest;

constexpr int kFrame = 512;
constexpr double kTapSum = 4.0 * 65.0 / 256.0; // blur's four taps
// An 8-bit framebuffer rounds each of blur's four taps and holds the tap weight as 65/255, so a
// pass lands within four units of the exact sum.
constexpr int kBlurPassTolerance = 4;

// --- burn ---------------------------------------------------------------------------------

TEST_F(EffectBurn, OnePassAtHalfGainAddsTheTextureOnceClampedPerChannel) {
    const Image pattern = makePattern(kFrame, kFrame);
    drawImage(pattern);
    fx.grab(Copy::Glow);
    fillRect(0, 0, kFrame, kFrame, 100, 20, 180); // blue saturates where the checker is bright
    const Image frame = readFrame(0, 0, kFrame, kFrame);
    fx.burn(Copy::Glow, 1, 0.5f);
    const Image expected = combine(frame, pattern, [](double f, double t, int) { return f + t; });
    EXPECT_TRUE(imagesNear(expected, readFrame(0, 0, kFrame, kFrame), 2));
    EXPECT_TRUE(imagesNear(Image(kFrame, kFrame), readTexture(fx.passTex[0]), 0)); // one pass grabs nothing
}

// Each later pass starts from black and adds twice the previous result at the gain.
TEST_F(EffectBurn, EachPassDoublesThePreviousResultAtUnitGain) {
    const int frameValue = 6, textureValue = 10;
    fillRect(0, 0, kFrame, kFrame, textureValue, textureValue, textureValue);
    fx.grab(Copy::Work);
    for (int passes = 1; passes <= 3; ++passes) {
        fillRect(0, 0, kFrame, kFrame, frameValue, frameValue, frameValue);
        fx.burn(Copy::Work, passes, 1.0f);
        const int expected = (frameValue + 2 * textureValue) << (passes - 1);
        const Image frame = readFrame(0, 0, kFrame, kFrame);
        EXPECT_EQ(frame.at(300, 200)[0], expected) << passes << " passes";
    }
}

TEST_F(EffectBurn, IntermediatePassLandsInThePassTexture) {
    const Image pattern = makePattern(kFrame, kFrame);
    drawImage(pattern);
    fx.grab(Copy::Picture);
    glClear(GL_COLOR_BUFFER_BIT);
    fx.burn(Copy::Picture, 2, 0.5f);
    EXPECT_TRUE(imagesNear(pattern, readTexture(fx.passTex[2]), 2));
    EXPECT_TRUE(imagesNear(pattern, readFrame(0, 0, kFrame, kFrame), 3));
}

TEST_F(EffectBurn, SmallModeWorksWithinTheSmallSet) {
    const Image region = makePattern(256, 128);
    drawImage(region);
    fx.sampleSmall = fx.targetSmall = 1;
    fx.grab(Copy::Work);
    useSmallViewport();
    glClear(GL_COLOR_BUFFER_BIT);
    fx.burn(Copy::Work, 2, 0.5f);
    EXPECT_TRUE(imagesNear(region, readTexture(fx.smallPassTex[1]), 2));
    EXPECT_TRUE(imagesNear(Image(kFrame, kFrame), readTexture(fx.passTex[1]), 0));
}

TEST_F(EffectBurn, ColourMaterialFollowsWhetherTheGainIsExactlyOne) {
    fx.burn(Copy::Glow, 1, 0.5f);
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    fx.burn(Copy::Glow, 1, 1.0f);
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
}

TEST_F(EffectBurn, NoPassesDrawNothingButSetAdditiveBlending) {
    drawImage(makePattern(kFrame, kFrame));
    fx.grab(Copy::Glow);
    fillRect(0, 0, kFrame, kFrame, 50, 60, 70);
    const Image before = readFrame(0, 0, kFrame, kFrame);
    fx.burn(Copy::Glow, 0, 1.0f);
    EXPECT_TRUE(imagesNear(before, readFrame(0, 0, kFrame, kFrame), 0));
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_ONE);
    EXPECT_EQ(dst, GL_ONE);
}

// --- blur ---------------------------------------------------------------------------------

TEST_F(EffectBlur, ZeroSpreadGivesTheTextureTimes65Over64Tinted) {
    const Image pattern = makePattern(kFrame, kFrame);
    drawImage(pattern);
    fx.grab(Copy::Glow);
    fillRect(0, 0, kFrame, kFrame, 255, 255, 255); // replaced, not blended over
    const double tint[3] = {1.0, 0.5, 0.25};
    fx.blur(Copy::Glow, {.passes = 1, .spread = 0.0f, .g = 0.5f, .b = 0.25f});
    const Image expected =
        combine(pattern, pattern, [&](double t, double, int c) { return t * tint[c] * kTapSum; });
    EXPECT_TRUE(imagesNear(expected, readFrame(0, 0, kFrame, kFrame), kBlurPassTolerance));
}

// Four passes at unit weight would leave the value where it was; at 65/64 it climbs by about 10.
TEST_F(EffectBlur, EachPassBrightensTheLastOneBy65Over64) {
    const int value = 160, passes = 4;
    fillRect(0, 0, kFrame, kFrame, value, value, value);
    fx.grab(Copy::Work);
    fx.blur(Copy::Work, {.passes = passes, .spread = 0.0f});
    const Image frame = readFrame(0, 0, kFrame, kFrame);
    const unsigned char* p = frame.at(256, 256);
    EXPECT_NEAR(p[0], value * std::pow(kTapSum, passes), 2.0 * passes);
    EXPECT_GT(p[0], value + passes);
}

// Across, a step is spread x stretchX x smallWidth / 1024 texture units, and the taps sit half a
// step either side: a one-pixel line shows up twice, each at two taps' weight.
TEST_F(EffectBlur, HorizontalStepIsSmallWidthOver1024) {
    fillRect(100, 0, 1, kFrame, 255, 255, 255);
    fx.grab(Copy::Glow);
    const float spread = 4.0f / kFrame * 1024.0f / static_cast<float>(fx.smallWidth); // four pixels
    fx.blur(Copy::Glow, {.passes = 1, .stretchY = 0.0f, .spread = spread});
    const Image frame = readFrame(0, 0, kFrame, kFrame);
    const double twoTaps = 255.0 * kTapSum / 2.0;
    EXPECT_NEAR(frame.at(98, 300)[0], twoTaps, kBlurPassTolerance);
    EXPECT_NEAR(frame.at(102, 300)[0], twoTaps, kBlurPassTolerance);
    EXPECT_EQ(frame.at(100, 300)[0], 0);
    EXPECT_EQ(frame.at(97, 300)[0], 0);
    EXPECT_EQ(frame.at(103, 300)[0], 0);
}

TEST_F(EffectBlur, VerticalStepIsSmallHeightOver512) {
    fillRect(0, 100, kFrame, 1, 255, 255, 255);
    fx.grab(Copy::Glow);
    const float spread = 4.0f / kFrame * 512.0f / static_cast<float>(fx.smallHeight); // four pixels
    fx.blur(Copy::Glow, {.passes = 1, .stretchX = 0.0f, .spread = spread});
    const Image frame = readFrame(0, 0, kFrame, kFrame);
    const double twoTaps = 255.0 * kTapSum / 2.0;
    EXPECT_NEAR(frame.at(300, 98)[0], twoTaps, kBlurPassTolerance);
    EXPECT_NEAR(frame.at(300, 102)[0], twoTaps, kBlurPassTolerance);
    EXPECT_EQ(frame.at(300, 100)[0], 0);
}

// Taps half a texture apart: on index 3 both land on the same wrapped texel, so the two halves
// swap; on a clamped index the left edge reads the edge texel and the border instead.
TEST_F(EffectBlur, IndexThreeWrapsAroundTheEdges) {
    const float halfTextureSpread = 1024.0f / static_cast<float>(fx.smallWidth);
    for (int i : {3, 0}) {
        fillRect(0, 0, kFrame / 2, kFrame, 200, 0, 0);
        fillRect(kFrame / 2, 0, kFrame / 2, kFrame, 0, 200, 0);
        fx.grab(static_cast<Copy>(i));
        fx.blur(static_cast<Copy>(i), {.passes = 1, .stretchY = 0.0f, .spread = halfTextureSpread});
        const Image frame = readFrame(0, 0, kFrame, kFrame);
        const unsigned char* left = frame.at(10, 256);
        const unsigned char* right = frame.at(500, 256);
        if (i == 3) {
            EXPECT_EQ(left[0], 0);
            EXPECT_NEAR(left[1], 200 * kTapSum, kBlurPassTolerance);
            EXPECT_NEAR(right[0], 200 * kTapSum, kBlurPassTolerance);
            EXPECT_EQ(right[1], 0);
        } else {
            EXPECT_GT(left[0], 20);
            EXPECT_GT(right[1], 20);
        }
    }
}

TEST_F(EffectBlur, NoPassesDrawNothing) {
    drawImage(makePattern(kFrame, kFrame));
    const Image before = readFrame(0, 0, kFrame, kFrame);
    fx.blur(Copy::Glow, {.passes = 0, .spread = 0.1f});
    EXPECT_TRUE(imagesNear(before, readFrame(0, 0, kFrame, kFrame), 0));
}

// --- zoomStreak ---------------------------------------------------------------------------

TEST_F(EffectZoomStreak, OnePassBlendsTheGrabOnceUnzoomedAndGrabsNothing) {
    const Image pattern = makePattern(kFrame, kFrame);
    drawImage(pattern);
    fx.grab(Copy::Glow);
    fillRect(0, 0, kFrame, kFrame, 20, 240, 120);
    const Image frame = readFrame(0, 0, kFrame, kFrame);
    fx.zoomStreak(Copy::Glow, {.passes = 1,
                               .alpha = 0.4f,
                               .angle = 0.7f,
                               .phase = 0.3f,
                               .strength = 0.25f,
                               .centreX = 0.3f,
                               .centreY = -0.2f,
                               .streakFade = 0.5f}); // no effect on the first pass
    const Image expected = combine(frame, pattern, [](double f, double t, int) { return 0.6 * f + 0.4 * t; });
    EXPECT_TRUE(imagesNear(expected, readFrame(0, 0, kFrame, kFrame), 1));
    EXPECT_TRUE(imagesNear(Image(kFrame, kFrame), readTexture(fx.passTex[0]), 0));
}

TEST_F(EffectZoomStreak, FirstPassResultFeedsTheSecond) {
    const Image pattern = makePattern(kFrame, kFrame);
    drawImage(pattern);
    fx.grab(Copy::Work);
    fillRect(0, 0, kFrame, kFrame, 20, 240, 120);
    const Image frame = readFrame(0, 0, kFrame, kFrame);
    fx.zoomStreak(Copy::Work, {.passes = 2, .alpha = 0.5f, .strength = 0.2f});
    const Image firstPass =
        combine(frame, pattern, [](double f, double t, int) { return 0.5 * f + 0.5 * t; });
    EXPECT_TRUE(imagesNear(firstPass, readTexture(fx.passTex[1]), 1));
}

// Second pass at alpha 1 replaces the frame by the first result zoomed about the texture point
// ((1 + centreX) / 2, (1 + centreY) / 2); the zoom follows from strength and the pass count.
TEST_F(EffectZoomStreak, LaterPassesZoomAboutTheCentrePoint) {
    const float strength = 0.2f, centreX = 0.5f, centreY = 0.0f;
    const int cx = 384, cy = 256, half = 32; // the square sits on the fixed point
    fillRect(cx - half, cy - half, 2 * half, 2 * half, 250, 250, 250);
    fx.grab(Copy::Glow);
    fx.zoomStreak(Copy::Glow,
                  {.passes = 2, .alpha = 1.0f, .strength = strength, .centreX = centreX, .centreY = centreY});
    const double z = 2.0 * strength / 2.0 / 1.13;
    const double d = 0.1 * strength - z; // negative: the copy is enlarged
    const double span = 1.0 + 2.0 * d;   // texture units across the frame
    const double grown = half / span;    // the square's new half size in pixels
    ASSERT_GT(grown, half + 8.0);
    const Image frame = readFrame(0, 0, kFrame, kFrame);
    for (int sign : {-1, 1}) {
        const int inside = static_cast<int>(grown) - 3, outside = static_cast<int>(grown) + 3;
        EXPECT_EQ(frame.at(cx + sign * inside, cy)[0], 250) << sign;
        EXPECT_EQ(frame.at(cx + sign * outside, cy)[0], 0) << sign;
        EXPECT_EQ(frame.at(cx, cy + sign * inside)[0], 250) << sign;
        EXPECT_EQ(frame.at(cx, cy + sign * outside)[0], 0) << sign;
    }
}

// angle sets the horizontal amount through cos + sin, angle + phase x pi/2 the vertical one: at
// 3 pi/4 the horizontal zoom vanishes, and a phase of 1 turns the vertical one by a quarter.
TEST_F(EffectZoomStreak, AngleAndPhaseShapeTheHorizontalAndVerticalZoom) {
    const float strength = 0.2f, angle = 2.356194f, phase = 1.0f;
    const int half = 64;
    fillRect(256 - half, 256 - half, 2 * half, 2 * half, 250, 250, 250);
    fx.grab(Copy::Glow);
    fx.zoomStreak(Copy::Glow,
                  {.passes = 2, .alpha = 1.0f, .angle = angle, .phase = phase, .strength = strength});
    const double d = 0.1 * strength - 2.0 * strength / 2.0 / 1.13;
    const double n = d * (std::sin(angle + phase * 1.570795) + std::cos(angle + phase * 1.570795));
    const double tall = half / (1.0 + 2.0 * n); // negative d, positive n: reduced vertically
    ASSERT_LT(tall, half - 8.0);
    const Image frame = readFrame(0, 0, kFrame, kFrame);
    EXPECT_EQ(frame.at(256 + half - 3, 256)[0], 250);
    EXPECT_EQ(frame.at(256 + half + 3, 256)[0], 0);
    EXPECT_EQ(frame.at(256, 256 + static_cast<int>(tall) - 3)[0], 250);
    EXPECT_EQ(frame.at(256, 256 + static_cast<int>(tall) + 3)[0], 0);
}

// Pass k draws at alpha - sqrt(k / passes) x streakFade: with alpha 0.5 and streakFade 1 every
// pass from k / passes = 1/4 on is faded out entirely, so three of four passes add nothing.
TEST_F(EffectZoomStreak, StreakFadeLowersTheAlphaOfLaterPasses) {
    const Image pattern = makePattern(kFrame, kFrame);
    drawImage(pattern);
    fx.grab(Copy::Glow);
    fillRect(0, 0, kFrame, kFrame, 20, 240, 120);
    const Image frame = readFrame(0, 0, kFrame, kFrame);
    fx.zoomStreak(Copy::Glow, {.passes = 4, .alpha = 0.5f, .strength = 0.3f, .streakFade = 1.0f});
    const Image onePass = combine(frame, pattern, [](double f, double t, int) { return 0.5 * f + 0.5 * t; });
    EXPECT_TRUE(imagesNear(onePass, readFrame(0, 0, kFrame, kFrame), 1));
}

TEST_F(EffectZoomStreak, NoPassesDrawNothingButSetTheMixBlend) {
    drawImage(makePattern(kFrame, kFrame));
    const Image before = readFrame(0, 0, kFrame, kFrame);
    fx.zoomStreak(Copy::Glow, {.passes = 0, .alpha = 1.0f, .strength = 0.2f});
    EXPECT_TRUE(imagesNear(before, readFrame(0, 0, kFrame, kFrame), 0));
    GLint dst = 0;
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
}

} // namespace
