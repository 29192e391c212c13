#include "scenes/StarBallScene.h"

#include "anim/Random.h"
#include "app/LoadAll.h"
#include "platform/MessageBox.h"
#include "platform/Quit.h"
#include "post/EffectBuffers.h"
#include "scenes/SceneRegistry.h"
#include "support/GlTestContext.h"
#include "tests/scenes/LoadedSceneTest.h"

#include <GL/gl.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

// Scene clocks (ms) at chosen positions of the 8 s surge cycle, which starts where
// (clock + 3750) mod 8000 = 0.
float atCycle(int ms) { return static_cast<float>(8000 * 20 - 3750 + ms); }

TEST(StarBallNoiseSpeed, DriftsAtAQuarterAndSurgesFiveFoldEveryEightSeconds) {
    EXPECT_FLOAT_EQ(starBallNoiseSpeed(atCycle(0)), 0.25f);
    EXPECT_NEAR(starBallNoiseSpeed(atCycle(500)), 0.75f, 1e-4f); // half way up
    EXPECT_FLOAT_EQ(starBallNoiseSpeed(atCycle(1000)), 1.25f);
    EXPECT_FLOAT_EQ(starBallNoiseSpeed(atCycle(5999)), 1.25f);
    EXPECT_NEAR(starBallNoiseSpeed(atCycle(6750)), 0.75f, 1e-4f); // half way down
    EXPECT_FLOAT_EQ(starBallNoiseSpeed(atCycle(7600)), 0.25f);
}

TEST(StarBallIntensity, NothingForThreeAndAHalfSecondsThenAFiveSecondRise) {
    const float mark = 137000.0f;
    EXPECT_EQ(starBallIntensity(mark, mark), 0.0f);
    EXPECT_EQ(starBallIntensity(mark + 3500.0f, mark), 0.0f);
    EXPECT_NEAR(starBallIntensity(mark + 6000.0f, mark), 0.5f, 1e-4f);
    EXPECT_NEAR(starBallIntensity(mark + 8500.0f, mark), 1.0f, 1e-4f);
    EXPECT_EQ(starBallIntensity(mark + 90000.0f, mark), 1.0f);
    EXPECT_EQ(starBallIntensity(mark - 5000.0f, mark), 0.0f); // seeking back before the mark
}

TEST(StarBallShape, LumpsRiseSeventyUnitsWhereTheTurbulenceVanishes) {
    const NoiseField field(256, 255, 10);
    // At the file origin every octave samples a lattice point, where noise is 0.
    const Vec3 rest[1] = {Vec3(0.0f, 0.0f, 0.0f)};
    const Vec3 normal[1] = {Vec3(0.0f, 1.0f, 0.0f)};
    Vec3 out[1];
    swellAlongNormals(field, rest, normal, out, 1);
    EXPECT_FLOAT_EQ(out[0].y, 0.7f);
    EXPECT_FLOAT_EQ(out[0].x, 0.0f);
}

TEST(StarBallShape, BreathingMovesAlongTheRayFromTheOriginAndSparesTheOrigin) {
    const NoiseField field(256, 255, 10);
    const Vec3 before[3] = {Vec3(0.0f, 0.0f, 0.0f), Vec3(0.3f, 0.2f, -0.1f), Vec3(-1.0f, 0.5f, 2.0f)};
    Vec3 points[3] = {before[0], before[1], before[2]};
    breatheRadially(field, points, 3, 57.3f, 0.0f);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(points[i].x, before[i].x) << "intensity 0 moves nothing";

    bool moved = false;
    for (float phase = 50.0f; phase < 60.0f; phase += 0.5f) {
        for (int i = 0; i < 3; ++i) points[i] = before[i];
        breatheRadially(field, points, 3, phase, 1.0f);
        // The origin has no direction: it stays, and stays a number.
        EXPECT_EQ(points[0].x, 0.0f);
        EXPECT_EQ(points[0].y, 0.0f);
        EXPECT_EQ(points[0].z, 0.0f);
        for (int i = 1; i < 3; ++i) {
            Vec3 across;
            across.cross(points[i], before[i]);
            EXPECT_NEAR(std::sqrt(across.lengthSquared()), 0.0f, 1e-5f) << "along the ray";
            const float step = std::sqrt(points[i].minus(before[i]).lengthSquared());
            EXPECT_LE(step, 0.4f) << "at most the full swing";
            moved = moved || step > 0.01f;
        }
    }
    EXPECT_TRUE(moved);
}

// The scene on the generated data, set up and warmed up by the loader as in the show, with every
// texture slot loaded.
class StarBallSceneTest : public LoadedSceneTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        loadOnly(SceneId::StarBall);
        ASSERT_FALSE(startupFailed());
        ASSERT_TRUE(scene().stage.ready);
    }

    StarBallScene& scene() { return scenes->get<StarBallScene>(); }
    MeshObject& cube() { return scene().stage.model->mesh(StarBallScene::kCube); }

    // Renders one frame with dt and returns the 512 x 512 frame, RGB.
    std::vector<unsigned char> frame(int dt) {
        glDepthFunc(GL_ALWAYS); // as the director leaves it
        scene().render(dt);
        std::vector<unsigned char> rgb(512 * 512 * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 512, 512, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    }
};

TEST_F(StarBallSceneTest, SetUpLeavesTheGeneratorAsTheLastNoiseFieldDoesAndCountsTheFaces) {
    StarBallScene fresh;
    EffectBuffers effects;
    fresh.attach(effects);
    testing::internal::CaptureStdout();
    fresh.setup(512, 512, 512, 256);
    const std::string printed = testing::internal::GetCapturedStdout();
    const int afterSetup[3] = {drawRandom(), drawRandom(), drawRandom()};
    const NoiseField last(65536, 65535, 512);
    for (const int draw : afterSetup) EXPECT_EQ(draw, drawRandom());

    EXPECT_EQ(fresh.stage.model->effectWidth, 512) << "the wide set's small size, as received";
    EXPECT_EQ(fresh.stage.model->effectHeight, 256);
    int faces = 0;
    for (int i = 0; i < fresh.stage.model->objectCount; ++i) faces += fresh.stage.model->mesh(i).faceCount;
    EXPECT_GT(faces,
              fresh.stage.model->mesh(StarBallScene::kCube).faceCount); // the unseen ball and star count too
    EXPECT_EQ(printed, std::to_string(faces) + " Faces in scene.\n");
}

TEST_F(StarBallSceneTest, IntensityCountsFromTheWarmUpFrame) {
    StarBallScene& s = scene();
    EXPECT_EQ(s.startMark, 137000.0f);
    EXPECT_EQ(s.stage.clock.time, 137001.0f);
    // Up to 3.5 s after the warm-up the skin is only lumped, not breathing.
    s.stage.clock.time = 140490.0f;
    frame(10);
    EXPECT_EQ(s.intensity, 0.0f);
    for (std::size_t v = 0; v < s.swollenPositions.size(); ++v)
        ASSERT_EQ(cube().workPositions[v].x, s.swollenPositions[v].x) << v;
    frame(1000);
    EXPECT_GT(s.intensity, 0.0f);
    EXPECT_NE(cube().workPositions[0].x, s.swollenPositions[0].x);
}

TEST_F(StarBallSceneTest, AStalledFrameHoldsTheClockAndCameraButTheNoiseDrifts) {
    StarBallScene& s = scene();
    frame(16);
    const float clock = s.stage.clock.time, phase = s.phase, noisePhase = s.noisePhase;
    const Vec3 eye = s.stage.camera.position;
    frame(2000);
    EXPECT_EQ(s.stage.clock.time, clock);
    EXPECT_EQ(s.phase, phase);
    EXPECT_EQ(s.stage.camera.position.x, eye.x);
    EXPECT_EQ(s.stage.camera.position.z, eye.z);
    EXPECT_NEAR(s.noisePhase - noisePhase, 2.0f * starBallNoiseSpeed(clock) * 0.675f, 1e-4f);
    frame(1999);
    EXPECT_EQ(s.stage.clock.time, clock + 1999.0f);
    EXPECT_EQ(s.stage.light.position.x, 0.15f);
}

TEST_F(StarBallSceneTest, EveryFrameStartsFromTheLoadedShape) {
    StarBallScene& s = scene();
    s.stage.clock.time = 150000.0f;
    frame(0);
    const float clock = s.stage.clock.time, noisePhase = s.noisePhase;
    const std::vector<Vec3> first = cube().workPositions;
    for (int i = 0; i < 4; ++i) frame(16);
    s.stage.clock.time = clock;
    s.noisePhase = noisePhase;
    frame(0);
    for (std::size_t v = 0; v < first.size(); ++v) {
        ASSERT_EQ(cube().workPositions[v].x, first[v].x) << v;
        ASSERT_EQ(cube().workPositions[v].y, first[v].y) << v;
        ASSERT_EQ(cube().workPositions[v].z, first[v].z) << v;
    }
}

TEST_F(StarBallSceneTest, TheBreathingNeverCarriesTheSkinPastTheLight) {
    // The cube stands beyond the light; at full swing, at any drift, its skin must stay there or
    // the light ends up inside it. Positions are drawn stretched by the cube's scale.
    StarBallScene& s = scene();
    const float lightX = 0.15f;
    std::vector<Vec3> skin(s.swollenPositions.size());
    float nearest = 1e9f;
    for (float drift = 0.0f; drift < 200.0f; drift += 0.1f) {
        skin = s.swollenPositions;
        breatheRadially(s.noiseFields[0], skin.data(), static_cast<int>(skin.size()), drift, 1.0f);
        for (const Vec3& p : skin) nearest = std::min(nearest, p.x * cube().scale.x);
    }
    EXPECT_GT(nearest, lightX + 0.05f);
}

TEST_F(StarBallSceneTest, TheCubeIsLitAndItsGlowStreaksOutOnlyOnceTheIntensityRises) {
    StarBallScene& s = scene();
    // Pixels of the outermost 24-pixel band of the frame that are more than faintly lit, and
    // the mean brightness of the middle.
    auto measure = [](const std::vector<unsigned char>& rgb, int& litEdge, double& middle) {
        litEdge = 0;
        middle = 0.0;
        int inMiddle = 0;
        for (int y = 0; y < 512; ++y)
            for (int x = 0; x < 512; ++x) {
                const unsigned char* p = &rgb[static_cast<std::size_t>(3 * (512 * y + x))];
                const int sum = p[0] + p[1] + p[2];
                if (x < 24 || x >= 488 || y < 24 || y >= 488) litEdge += sum > 90 ? 1 : 0;
                if (std::abs(x - 256) < 64 && std::abs(y - 256) < 64) middle += sum / 3.0, ++inMiddle;
            }
        middle /= inMiddle;
    };
    s.stage.clock.time = 138000.0f;
    int calmEdge = 0, streakedEdge = 0;
    double calmMiddle = 0.0, streakedMiddle = 0.0;
    measure(frame(0), calmEdge, calmMiddle);
    EXPECT_EQ(s.intensity, 0.0f);
    s.stage.clock.time = 152000.0f; // full intensity, near the streaks' longest reach
    measure(frame(0), streakedEdge, streakedMiddle);
    EXPECT_EQ(s.intensity, 1.0f);

    EXPECT_GT(calmMiddle, 20.0) << "the cube stands lit in the middle of the frame";
    EXPECT_GT(streakedMiddle, 20.0);
    EXPECT_EQ(calmEdge, 0) << "no streaks yet: the frame's edge stays black";
    EXPECT_GT(streakedEdge, 500) << "the streaks reach out to the frame's edge";
}

} // namespace
