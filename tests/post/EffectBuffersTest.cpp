#include "EffectTestSupport.h"

#include <GL/gl.h>

#include <set>

namespace {

using EffectConstruction = EffectBuffersTest;
using EffectGrab = EffectBuffersTest;
using EffectShow = EffectBuffersTest;
using EffectMultiply = EffectBuffersTest;
using EffectFill = EffectBuffersTest;
using EffectOverlay = EffectBuffersTest;
using EffectRestingState = EffectBuffersTest;

constexpr int kFrame = 512;

GLint texParameter(unsigned name, GLenum which) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexParameteriv(GL_TEXTURE_2D, which, &value);
    return value;
}

// --- Construction -------------------------------------------------------------------------

TEST_F(EffectConstruction, StoresSizesAndTruncatedHalvesWithFlagsCleared) {
    EffectBuffers wide(512, 512, 512, 256);
    EXPECT_EQ(wide.fullWidth, 512);
    EXPECT_EQ(wide.fullHalfWidth, 256);
    EXPECT_EQ(wide.fullHalfHeight, 256);
    EXPECT_EQ(wide.smallWidth, 512);
    EXPECT_EQ(wide.smallHeight, 256);
    EXPECT_EQ(wide.smallHalfWidth, 256);
    EXPECT_EQ(wide.smallHalfHeight, 128);
    EXPECT_EQ(wide.fullSourceX + wide.fullSourceY + wide.smallSourceX + wide.smallSourceY, 0);
    EXPECT_EQ(wide.sampleSmall, 0);
    EXPECT_EQ(wide.targetSmall, 0);
    releaseTextures(wide);
}

TEST_F(EffectConstruction, CreatesSixteenDistinctTexturesOfTheirSetSizes) {
    std::set<unsigned> names;
    for (int i = 0; i < 4; ++i) {
        for (unsigned name : {fx.copyTex[i], fx.passTex[i]}) {
            EXPECT_TRUE(glIsTexture(name));
            const Image image = readTexture(name);
            EXPECT_EQ(image.width, 512);
            EXPECT_EQ(image.height, 512);
            names.insert(name);
        }
        for (unsigned name : {fx.smallCopyTex[i], fx.smallPassTex[i]}) {
            EXPECT_TRUE(glIsTexture(name));
            const Image image = readTexture(name);
            EXPECT_EQ(image.width, 256);
            EXPECT_EQ(image.height, 128);
            names.insert(name);
        }
    }
    EXPECT_EQ(names.size(), 16u);
}

TEST_F(EffectConstruction, EveryTextureStartsBlack) {
    EffectBuffers wide(512, 512, 512, 256);
    for (const EffectBuffers* e : {&fx, &wide}) {
        for (int i = 0; i < 4; ++i) {
            for (unsigned name : {e->copyTex[i], e->passTex[i], e->smallCopyTex[i], e->smallPassTex[i]}) {
                const Image image = readTexture(name);
                EXPECT_TRUE(imagesNear(Image(image.width, image.height), image, 0)) << "texture " << name;
            }
        }
    }
    releaseTextures(wide);
}

TEST_F(EffectConstruction, OnlyIndexThreeFullSizeTexturesRepeat) {
    for (int i = 0; i < 4; ++i) {
        const GLint full = i == 3 ? GL_REPEAT : GL_CLAMP;
        for (unsigned name : {fx.copyTex[i], fx.passTex[i]}) {
            EXPECT_EQ(texParameter(name, GL_TEXTURE_WRAP_S), full) << "index " << i;
            EXPECT_EQ(texParameter(name, GL_TEXTURE_WRAP_T), full) << "index " << i;
        }
        for (unsigned name : {fx.smallCopyTex[i], fx.smallPassTex[i]}) {
            EXPECT_EQ(texParameter(name, GL_TEXTURE_WRAP_S), GL_CLAMP) << "index " << i;
            EXPECT_EQ(texParameter(name, GL_TEXTURE_WRAP_T), GL_CLAMP) << "index " << i;
        }
    }
}

TEST_F(EffectConstruction, TexturesFilterLinearlyWithoutMipmaps) {
    for (int i = 0; i < 4; ++i) {
        for (unsigned name : {fx.copyTex[i], fx.passTex[i], fx.smallCopyTex[i], fx.smallPassTex[i]}) {
            EXPECT_EQ(texParameter(name, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
            EXPECT_EQ(texParameter(name, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
        }
    }
}

// --- grab ---------------------------------------------------------------------------------

TEST_F(EffectGrab, FullGrabCopiesTheWholeFrameIntoTheCopyTexture) {
    drawImage(makePattern(kFrame, kFrame));
    fx.grab(Copy::Work);
    EXPECT_TRUE(imagesNear(readFrame(0, 0, kFrame, kFrame), readTexture(fx.copyTex[1]), 0));
    EXPECT_TRUE(imagesNear(Image(kFrame, kFrame), readTexture(fx.copyTex[0]), 0));
    EXPECT_TRUE(imagesNear(Image(kFrame, kFrame), readTexture(fx.passTex[1]), 0));
}

TEST_F(EffectGrab, SmallGrabCopiesOnlyTheLowerLeftRegion) {
    fillRect(0, 0, kFrame, kFrame, 255, 0, 0);
    const Image region = makePattern(256, 128);
    drawImage(region);
    fx.targetSmall = 1;
    fx.grab(Copy::Picture);
    EXPECT_TRUE(imagesNear(region, readTexture(fx.smallCopyTex[2]), 0));
    EXPECT_TRUE(imagesNear(Image(kFrame, kFrame), readTexture(fx.copyTex[2]), 0));
}

// --- show ---------------------------------------------------------------------------------

TEST_F(EffectShow, FullAlphaAfterGrabLeavesTheFrameUnchanged) {
    drawImage(makePattern(kFrame, kFrame));
    const Image before = readFrame(0, 0, kFrame, kFrame);
    fx.grab(Copy::Glow);
    fx.show(Copy::Glow, 1.0f);
    EXPECT_TRUE(imagesNear(before, readFrame(0, 0, kFrame, kFrame), 0));
}

TEST_F(EffectShow, ZeroAlphaLeavesTheFrameBlack) {
    drawImage(makePattern(kFrame, kFrame));
    fx.grab(Copy::Glow);
    fx.show(Copy::Glow, 0.0f);
    EXPECT_TRUE(imagesNear(Image(kFrame, kFrame), readFrame(0, 0, kFrame, kFrame), 0));
}

TEST_F(EffectShow, PartialAlphaScalesTheTextureOverBlack) {
    const Image pattern = makePattern(kFrame, kFrame);
    drawImage(pattern);
    fx.grab(Copy::Work);
    fillRect(0, 0, kFrame, kFrame, 255, 255, 255);
    fx.show(Copy::Work, 0.5f);
    const Image expected = combine(pattern, pattern, [](double t, double, int) { return t * 0.5; });
    EXPECT_TRUE(imagesNear(expected, readFrame(0, 0, kFrame, kFrame), 1));
}

TEST_F(EffectShow, SmallSampleDrawsTheSmallTextureIntoTheSmallViewport) {
    const Image region = makePattern(256, 128);
    drawImage(region);
    fx.sampleSmall = fx.targetSmall = 1;
    fx.grab(Copy::Glow);
    useSmallViewport();
    fx.show(Copy::Glow, 1.0f);
    EXPECT_TRUE(imagesNear(region, readFrame(0, 0, 256, 128), 0));
}

// --- multiply -----------------------------------------------------------------------------

TEST_F(EffectMultiply, FrameBecomesFrameTimesTheFullTextureWhateverTheFlags) {
    const Image pattern = makePattern(kFrame, kFrame);
    drawImage(pattern);
    fx.grab(Copy::Glow);
    fillRect(0, 0, kFrame, kFrame, 255, 128, 64);
    const Image frame = readFrame(0, 0, kFrame, kFrame);
    fx.sampleSmall = 1; // multiply always reads the full set
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    fx.multiply(Copy::Glow);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    const Image expected = combine(frame, pattern, [](double f, double t, int) { return f * t / 255.0; });
    EXPECT_TRUE(imagesNear(expected, readFrame(0, 0, kFrame, kFrame), 1));
}

// --- fill ---------------------------------------------------------------------------------

TEST_F(EffectFill, FullAlphaWhiteTurnsTheFrameWhite) {
    drawImage(makePattern(kFrame, kFrame));
    fx.fill(1.0f, 1.0f, 1.0f, 1.0f);
    Image white(kFrame, kFrame);
    white.rgb.assign(white.rgb.size(), 255);
    EXPECT_TRUE(imagesNear(white, readFrame(0, 0, kFrame, kFrame), 0));
}

TEST_F(EffectFill, ZeroAlphaLeavesTheFrameUnchanged) {
    drawImage(makePattern(kFrame, kFrame));
    const Image before = readFrame(0, 0, kFrame, kFrame);
    fx.fill(0.0f, 1.0f, 0.5f, 0.25f);
    EXPECT_TRUE(imagesNear(before, readFrame(0, 0, kFrame, kFrame), 0));
}

TEST_F(EffectFill, HalfAlphaMixesTheColourInAndTurnsTexturingBackOn) {
    const Image pattern = makePattern(kFrame, kFrame);
    drawImage(pattern);
    fx.fill(0.5f, 1.0f, 0.0f, 0.0f);
    const Image expected = combine(pattern, pattern, [](double f, double, int c) {
        const double colour = c == 0 ? 255.0 : 0.0;
        return 0.5 * colour + 0.5 * f;
    });
    EXPECT_TRUE(imagesNear(expected, readFrame(0, 0, kFrame, kFrame), 1));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
}

// --- overlay ------------------------------------------------------------------------------

TEST_F(EffectOverlay, MixAtZeroAlphaLeavesTheFrameUnchanged) {
    drawImage(makePattern(kFrame, kFrame));
    fx.grab(Copy::Glow);
    fillRect(0, 0, kFrame, kFrame, 30, 220, 90);
    const Image before = readFrame(0, 0, kFrame, kFrame);
    fx.overlay(Copy::Glow, 0.0f, 0.0f, Overlay::Mix);
    EXPECT_TRUE(imagesNear(before, readFrame(0, 0, kFrame, kFrame), 0));
}

TEST_F(EffectOverlay, MixAtFullAlphaReplacesTheFrameByTheTexture) {
    const Image pattern = makePattern(kFrame, kFrame);
    drawImage(pattern);
    fx.grab(Copy::Glow);
    fillRect(0, 0, kFrame, kFrame, 30, 220, 90);
    fx.overlay(Copy::Glow, 1.0f, 0.0f, Overlay::Mix);
    EXPECT_TRUE(imagesNear(pattern, readFrame(0, 0, kFrame, kFrame), 0));
}

TEST_F(EffectOverlay, AdditiveModeAddsTextureTimesAlphaPlusBrightness) {
    const Image pattern = makePattern(kFrame, kFrame);
    drawImage(pattern);
    fx.grab(Copy::Glow);
    fillRect(0, 0, kFrame, kFrame, 30, 100, 0);
    const Image frame = readFrame(0, 0, kFrame, kFrame);
    const float alpha = 0.5f, brightness = 0.2f;
    fx.overlay(Copy::Glow, alpha, brightness, Overlay::Add);
    const Image expected = combine(frame, pattern, [&](double f, double t, int) {
        const double drawn = t + brightness * 255.0 > 255.0 ? 255.0 : t + brightness * 255.0;
        return f + alpha * drawn;
    });
    EXPECT_TRUE(imagesNear(expected, readFrame(0, 0, kFrame, kFrame), 2));
}

// The scenes' glow: a small texture laid over the full frame.
TEST_F(EffectOverlay, SmallTextureStretchesOverTheFullFrame) {
    fillRect(0, 0, 128, 128, 200, 0, 0);
    fillRect(128, 0, 128, 128, 0, 200, 0);
    fx.sampleSmall = fx.targetSmall = 1;
    fx.grab(Copy::Glow);
    fx.targetSmall = 0;
    glClear(GL_COLOR_BUFFER_BIT);
    fx.overlay(Copy::Glow, 1.0f, 0.0f, Overlay::Add);
    const Image frame = readFrame(0, 0, kFrame, kFrame);
    const unsigned char* left = frame.at(200, 500);
    const unsigned char* right = frame.at(310, 10);
    EXPECT_EQ(left[0], 200);
    EXPECT_EQ(left[1], 0);
    EXPECT_EQ(right[0], 0);
    EXPECT_EQ(right[1], 200);
}

// --- Resting state ------------------------------------------------------------------------

// Each operation leaves GL_ADD, the caller's modelview matrix and stack depth, and draws its
// quad in its own identity modelview whatever the caller had loaded.
TEST_F(EffectRestingState, EveryOperationRestsAtAddAndKeepsTheCallersModelview) {
    const Image pattern = makePattern(kFrame, kFrame);
    const auto operations = {
        +[](EffectBuffers& e) { e.grab(Copy::Glow); },
        +[](EffectBuffers& e) { e.multiply(Copy::Glow); },
        +[](EffectBuffers& e) { e.show(Copy::Glow, 1.0f); },
        +[](EffectBuffers& e) { e.fill(0.5f, 1.0f, 1.0f, 1.0f); },
        +[](EffectBuffers& e) { e.overlay(Copy::Glow, 0.5f, 0.0f, Overlay::Add); },
        +[](EffectBuffers& e) { e.burn(Copy::Glow, 2, 0.5f); },
        +[](EffectBuffers& e) { e.blur(Copy::Glow, {.passes = 2, .spread = 0.1f}); },
        +[](EffectBuffers& e) { e.zoomStreak(Copy::Glow, {.passes = 3, .alpha = 0.4f, .strength = 0.2f}); },
    };
    int index = 0;
    for (auto operation : operations) {
        drawImage(pattern);
        fx.grab(Copy::Glow);
        glTranslatef(300.0f, 0.0f, 0.0f);
        GLfloat before[16] = {}, after[16] = {};
        glGetFloatv(GL_MODELVIEW_MATRIX, before);
        operation(fx);
        glGetFloatv(GL_MODELVIEW_MATRIX, after);
        GLint depth = 0, env = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
        EXPECT_EQ(env, GL_ADD) << "operation " << index;
        EXPECT_EQ(depth, 1) << "operation " << index;
        for (int n = 0; n < 16; ++n) EXPECT_EQ(after[n], before[n]) << "operation " << index;
        glLoadIdentity();
        ++index;
    }
    // show under a shifted modelview still covers the frame exactly.
    drawImage(pattern);
    fx.grab(Copy::Glow);
    glTranslatef(300.0f, 0.0f, 0.0f);
    fx.show(Copy::Glow, 1.0f);
    EXPECT_TRUE(imagesNear(pattern, readFrame(0, 0, kFrame, kFrame), 0));
}

// A caller that left the projection matrix current still gets its quad drawn under that
// projection, and the projection itself comes back untouched.
TEST_F(EffectRestingState, OperationsDrawUnderTheProjectionEvenWhenItIsTheCurrentMatrix) {
    const Image pattern = makePattern(kFrame, kFrame);
    drawImage(pattern);
    fx.grab(Copy::Glow);
    GLfloat before[16] = {}, after[16] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, before);
    glMatrixMode(GL_PROJECTION);
    fx.show(Copy::Glow, 1.0f);
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    for (int n = 0; n < 16; ++n) EXPECT_EQ(after[n], before[n]);
    EXPECT_TRUE(imagesNear(pattern, readFrame(0, 0, kFrame, kFrame), 0));
}

} // namespace
