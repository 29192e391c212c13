// The shader renderer keeps a shadowed frame's light shafts at half width where its chain leaves
// them: the composition reads them there (with the soft mask in their alpha), anything else gets
// them stretched into their copy first. Both ways must lay the same shafts over the frame.
#include "assets/Model.h"
#include "glext/EsTable.h"
#include "platform/GlContext.h"
#include "post/EffectBuffers.h"
#include "render/Camera.h"
#include "render/FrameTarget.h"
#include "render/RenderPath.h"
#include "render/ScreenBlit.h"

#include "support/Renderers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kFrame = 512;

class ShaderShafts : public ::testing::Test {
  protected:
    void SetUp() override {
        useBackend(shaderRenderer());
        if (!useSharedOffscreenContext(GlApi::Es3)) GTEST_SKIP() << "no OpenGL ES 3.0 context";
        screen.frameWidth = screen.frameHeight = kFrame;
        ASSERT_TRUE(prepareFrame(screen, frame));
        bindFrameTarget(frame);
        setRenderPath(RenderPath::Fast);
        fx = EffectBuffers(kFrame, kFrame, kFrame, kFrame / 2);
    }
    void TearDown() override {
        if (frame.framebuffer) destroyFrameTarget(frame);
        setRenderPath(RenderPath::Reference);
        useBackend(fixedRenderer());
        useSharedOffscreenContext(GlApi::Compatibility);
    }

    // A rectangle of the frame in one grey level, or the whole frame.
    static void fill(int x, int y, int w, int h, int grey) {
        es::glEnable(GL_SCISSOR_TEST);
        es::glScissor(x, y, w, h);
        es::glClearColor(grey / 255.0f, grey / 255.0f, grey / 255.0f, 1.0f);
        es::glClear(GL_COLOR_BUFFER_BIT);
        es::glDisable(GL_SCISSOR_TEST);
        es::glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    }

    // The frame's red channel, rows from the bottom.
    std::vector<int> readRed() const {
        std::vector<unsigned char> rgba(static_cast<std::size_t>(kFrame) * kFrame * 4);
        es::glReadPixels(0, 0, kFrame, kFrame, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        std::vector<int> red(static_cast<std::size_t>(kFrame) * kFrame);
        for (std::size_t i = 0; i < red.size(); ++i) red[i] = rgba[4 * i];
        return red;
    }

    // A light in the small picture streaked into the glow copy, then a grey picture composed
    // under a mask with a shadow in it. readCopyFirst: something reads the glow copy before the
    // composition does.
    std::vector<int> shadowedFrame(bool readCopyFirst) {
        Model model(1, kFrame, kFrame, kFrame, kFrame / 2);
        fill(0, 0, kFrame, kFrame, 0);
        fill(230, 110, 30, 30, 255);
        {
            const SmallEffects small(fx);
            setOrthoEffect(model);
            fx.shaftGlow(Copy::Glow,
                         {.burnPasses = 1,
                          .blur = {.passes = 3, .stretchX = 1.25f, .stretchY = 1.25f, .spread = 0.0078125f},
                          .zoom = {.passes = 8, .alpha = 0.82f, .angle = 0.4f, .strength = 0.02f,
                                   .centreX = 0.1f, .centreY = -0.1f, .streakFade = 0.5f}});
            if (readCopyFirst) fx.show(Copy::Glow, 1.0f);
        }
        setOrthoScreen(model);
        fill(0, 0, kFrame, kFrame, 100);
        fx.grab(Copy::Picture);
        fill(0, 0, kFrame, kFrame, 255);
        fill(20, 380, 120, 120, 0); // the shadow, away from the light
        fx.composeHalfMask({.picture = Copy::Picture,
                            .mask = Copy::Wrapping,
                            .maskBlur = {.passes = 2, .stretchX = 1.25f, .stretchY = 1.25f, .spread = 0.01f},
                            .glow = Copy::Glow});
        return readRed();
    }

    ScreenSize screen;
    FrameTarget frame;
    EffectBuffers fx;
};

TEST_F(ShaderShafts, HeldShaftsComposeAsTheyDoFromTheirCopy) {
    const std::vector<int> held = shadowedFrame(false);
    const std::vector<int> stretched = shadowedFrame(true);
    int largest = 0, lit = 0;
    for (std::size_t i = 0; i < held.size(); ++i) {
        largest = std::max(largest, std::abs(held[i] - stretched[i]));
        if (held[i] > 140) ++lit;
    }
    // The stretch rounds to eight bits once more on its way: a level or two.
    EXPECT_LE(largest, 2);
    // The shafts are there: far brighter than the grey picture, over a patch of the frame.
    EXPECT_GT(lit, 2000);
    // The mask is there: black in the middle of the shadow, the grey picture away from it.
    EXPECT_LE(held[440 * kFrame + 80], 5);
    EXPECT_NEAR(held[30 * kFrame + 480], 100, 3);
}

} // namespace
