#include "scenes/HipuScene.h"

#include "anim/Random.h"
#include "post/EffectBuffers.h"
#include "show/Timetable.h"
#include "support/GlTestContext.h"
#include "tests/scenes/LoadedSceneTest.h"
#include "tests/scenes/OneSceneTest.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

namespace {

using namespace timetable;

// Scene-clock times where a flare starts: (c + 700) is a multiple of 940.
float flareOnset(int k) { return static_cast<float>(k * kHipuSecondFlare - kHipuBeat.offset); }

TEST(HipuBeat, OffUntil3600EvenInsideAFlare) {
    // 3599 lies 539 ms into a flare's cycle, where the fall has not ended.
    EXPECT_EQ(hipuBeat(3599.0f), 0.0f);
    EXPECT_GT(hipuBeat(3600.0f), 0.0f);
    EXPECT_EQ(hipuBeat(-3100.0f), 0.0f);
    EXPECT_EQ(hipuFlow(3599.0f), 0.0f);
    EXPECT_FLOAT_EQ(hipuFlow(4200.0f), 1.0f);
}

TEST(HipuBeat, TwoFlaresPerCycleRiseFromTheSoundtracksGrid) {
    // Every onset of the grid the soundtrack was written from, over the scene's whole run.
    for (int k = 5; flareOnset(k) < 26000.0f; ++k) {
        const float onset = flareOnset(k);
        SCOPED_TRACE(onset);
        EXPECT_EQ(hipuBeat(onset), 0.0f);
        EXPECT_NEAR(hipuBeat(onset + 250.0f), 1.0f, 1e-3f); // the peak
        EXPECT_LT(hipuBeat(onset + 400.0f), hipuBeat(onset + 300.0f));
        EXPECT_EQ(hipuBeat(onset + 660.0f), 0.0f); // quiet until the next onset
        EXPECT_EQ(hipuBeat(onset + 930.0f), 0.0f);
    }
}

TEST(HipuZoom, FarBeforeTheSceneStartsAndForTheFirstFiveSecondsOfEachCycle) {
    EXPECT_EQ(hipuZoomFactor(-3100.0f), 3.0f);
    EXPECT_EQ(hipuZoomFactor(-1.0f), 3.0f);
    EXPECT_EQ(hipuZoomFactor(4999.0f), 3.0f);
    EXPECT_EQ(hipuZoomFactor(24000.0f + 4999.0f), 3.0f);
    EXPECT_FLOAT_EQ(hipuZoomFactor(7000.0f), 1.2f);
    EXPECT_FLOAT_EQ(hipuZoomFactor(21999.0f), 1.2f);
}

TEST(HipuZoom, MovesInAndOutWithoutJumps) {
    float previous = hipuZoomFactor(0.0f);
    for (int c = 1; c <= 48000; ++c) { // two whole cycles
        const float z = hipuZoomFactor(static_cast<float>(c));
        ASSERT_NEAR(z, previous, 0.05f) << c; // the ease starts steeply, but never jumps
        ASSERT_GE(z, 1.2f - 1e-5f);
        ASSERT_LE(z, 3.0f);
        previous = z;
    }
    EXPECT_LT(hipuZoomFactor(6000.0f), hipuZoomFactor(5500.0f));   // closing in
    EXPECT_GT(hipuZoomFactor(23500.0f), hipuZoomFactor(23000.0f)); // backing out
}

TEST(HipuRisers, SpotsLieOutsideTheRadiusTwoCircleInsideTheSquare) {
    EXPECT_TRUE(riserSpotAccepted(2.0f, 0.0f)); // on the circle counts as outside
    EXPECT_TRUE(riserSpotAccepted(0.0f, -2.0f));
    EXPECT_FALSE(riserSpotAccepted(1.9f, 0.0f));
    EXPECT_FALSE(riserSpotAccepted(1.2f, 1.2f));

    seedRandom(77);
    for (int i = 0; i < 2000; ++i) {
        float x = 0.0f, z = 0.0f;
        drawRiserSpot(x, z);
        ASSERT_TRUE(riserSpotAccepted(x, z)) << x << ", " << z;
        ASSERT_GE(x, -4.0f);
        ASSERT_LT(x, 4.0f);
        ASSERT_GE(z, -4.0f);
        ASSERT_LT(z, 4.0f);
    }
}

// The scene on the generated models; the logic needs no GL.
class HipuSceneLogic : public ::testing::Test {
  protected:
    void SetUp() override {
        previous = std::filesystem::current_path();
        std::filesystem::current_path(CASTRELLE_TEST_DATA_DIR);
        scene.setup(512, 512, 256, 128);
        ASSERT_TRUE(scene.stage.ready);
        ASSERT_EQ(scene.stage.model->objectCount, HipuScene::kFirstRiser + HipuScene::kRiserCount);
    }
    void TearDown() override { std::filesystem::current_path(previous); }

    std::filesystem::path previous;
    HipuScene scene;
};

TEST_F(HipuSceneLogic, ClockStartsThreeSecondsBeforeTheScenesZeroAndRisersStartAround) {
    EXPECT_EQ(scene.stage.clock.time, -3100.0f);
    EXPECT_EQ(scene.burnPasses, 1);
    for (int i = 0; i < HipuScene::kRiserCount; ++i) {
        const Vec3& p = scene.stage.model->mesh(HipuScene::kFirstRiser + i).translation;
        EXPECT_TRUE(riserSpotAccepted(p.x, p.z)) << i;
        EXPECT_GE(p.y, -25.0f) << i;
        EXPECT_LT(p.y, 5.0f) << i;
    }
}

TEST_F(HipuSceneLogic, ARiserIsRebornBelowOnlyOncePastTheTop) {
    MeshObject& stays = scene.stage.model->mesh(HipuScene::kFirstRiser + 3);
    MeshObject& reborn = scene.stage.model->mesh(HipuScene::kFirstRiser + 4);
    stays.translation.y = 5.0f;
    reborn.translation.y = 5.01f;
    scene.moveRisers(1.0f, 0.0f);
    EXPECT_EQ(stays.translation.y, 5.0f);
    EXPECT_GE(reborn.translation.y, -10.0f);
    EXPECT_LT(reborn.translation.y, -5.0f);
    EXPECT_TRUE(riserSpotAccepted(reborn.translation.x, reborn.translation.z));
}

TEST_F(HipuSceneLogic, RisersClimbFasterOnTheBeat) {
    MeshObject& o = scene.stage.model->mesh(HipuScene::kFirstRiser);
    o.translation.y = -20.0f;
    scene.beat = 0.0f;
    scene.moveRisers(1.0f, 0.1f);
    const float calm = o.translation.y + 20.0f;
    o.translation.y = -20.0f;
    scene.beat = 1.0f;
    scene.moveRisers(1.0f, 0.1f);
    EXPECT_NEAR(calm, 1.5f, 1e-4f);
    EXPECT_NEAR(o.translation.y + 20.0f, 1.9f * calm, 1e-4f);
}

TEST_F(HipuSceneLogic, TheBlobStaysABlobOverTheWholeScene) {
    // From the dissolve before the scene's zero to the cut at 126 s: the squash must never
    // throw a pulled-in point out into a spike, which would also push the camera far back.
    float smallest = 1e9f, largest = 0.0f;
    for (float c = -3100.0f; c < 26500.0f; c += 100.0f) {
        scene.shapeBlob(c * 0.001f);
        const float extent = std::sqrt(scene.blobExtent2);
        smallest = std::fmin(smallest, extent);
        largest = std::fmax(largest, extent);
        ASSERT_LT(extent, 3.0f) << "at scene clock " << c;
    }
    EXPECT_GT(smallest, 0.3f);
    EXPECT_GT(largest, 2.0f * smallest); // it does swell and shrink
}

// The whole frame on the offscreen context.
class HipuSceneTest : public OneSceneTest<HipuScene> {
  protected:
    void SetUp() override {
        OneSceneTest::SetUp();
        if (!HasFatalFailure()) scene.render(1); // the warm-up
    }

    std::vector<GLubyte> frame() {
        std::vector<GLubyte> pixels(512 * 512 * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 512, 512, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
    static double brightness(const std::vector<GLubyte>& pixels) {
        double sum = 0.0;
        for (const GLubyte v : pixels) sum += v;
        return sum / static_cast<double>(pixels.size());
    }
};

TEST_F(HipuSceneTest, RenderWithDeltaZeroRedrawsTheSamePicture) {
    scene.stage.clock.time = 12000.0f;
    for (int i = 0; i < 3; ++i) scene.render(16);
    const std::vector<GLubyte> first = frame();
    const float clock = scene.stage.clock.time;
    const float scroll = scene.stage.model->mesh(HipuScene::kSky).texOffsetV;
    std::vector<Vec3> risers;
    for (int i = 0; i < HipuScene::kRiserCount; ++i)
        risers.push_back(scene.stage.model->mesh(HipuScene::kFirstRiser + i).translation);

    scene.render(0);
    EXPECT_EQ(scene.stage.clock.time, clock);
    EXPECT_EQ(scene.stage.model->mesh(HipuScene::kSky).texOffsetV, scroll);
    for (int i = 0; i < HipuScene::kRiserCount; ++i) {
        const Vec3& p = scene.stage.model->mesh(HipuScene::kFirstRiser + i).translation;
        EXPECT_EQ(p.x, risers[i].x);
        EXPECT_EQ(p.y, risers[i].y);
        EXPECT_EQ(p.z, risers[i].z);
    }
    EXPECT_TRUE(frame() == first) << "a redraw with dt 0 changed the picture";
}

TEST_F(HipuSceneTest, AFlareOnlyEverBrightensTheGlow) {
    // Just before an onset the beat is 0; 100 ms into the flare it is about 0.12. A second
    // burn run from black at that gain would leave the frame far darker than with no beat.
    const float onset = flareOnset(12);
    scene.stage.clock.time = onset - 30.0f;
    scene.render(0);
    const double calm = brightness(frame());
    scene.stage.clock.time = onset + 100.0f;
    scene.render(0);
    ASSERT_GT(scene.beat, 0.05f);
    ASSERT_LT(scene.beat, 0.3f);
    const double rising = brightness(frame());
    scene.stage.clock.time = onset + 250.0f;
    scene.render(0);
    const double peak = brightness(frame());
    EXPECT_GT(rising, calm);
    EXPECT_GT(peak, rising + 20.0);
}

TEST_F(HipuSceneTest, NeitherBlackNorWashedOut) {
    scene.stage.clock.time = 12000.0f;
    for (int i = 0; i < 3; ++i) scene.render(16);
    const double level = brightness(frame());
    EXPECT_GT(level, 30.0);
    EXPECT_LT(level, 200.0);
}

// The scene as the program loads it, every texture in its slot: the pictures' own brightness.
class LoadedHipuTest : public LoadedSceneTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        loadOnly(SceneId::Hipu);
        ASSERT_FALSE(startupFailed());
    }
};

// Between the flares the glow leaves the blob soft: only a flare may burn it to white (at the
// ball's glow level the calm frames were up to 6 % white).
TEST_F(LoadedHipuTest, BetweenFlaresNothingBurnsToWhite) {
    HipuScene& scene = scenes->get<HipuScene>();
    double worst = 0.0;
    for (int n = 6; n < 14; ++n) {
        scene.stage.clock.time = flareOnset(n) - 190.0f;
        for (int k = 0; k < 10; ++k) scene.render(16);
        ASSERT_EQ(scene.beat, 0.0f);
        const Image frame = readFrame(0, 0, 512, 512);
        std::size_t white = 0;
        for (std::size_t p = 0; p + 2 < frame.rgb.size(); p += 3)
            white += frame.rgb[p] >= 250 && frame.rgb[p + 1] >= 250 && frame.rgb[p + 2] >= 250 ? 1 : 0;
        worst = std::max(worst, static_cast<double>(white) / (512.0 * 512.0));
    }
    EXPECT_LT(worst, 0.025) << "a calm frame was " << 100.0 * worst << " % white";
}

} // namespace
