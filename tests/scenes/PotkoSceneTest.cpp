#include "scenes/PotkoScene.h"

#include "app/LoadAll.h"
#include "platform/Quit.h"
#include "render/Camera.h"
#include "render/MeshRenderer.h"
#include "render/Transform.h"
#include "scenes/SceneRegistry.h"
#include "show/Timetable.h"
#include "support/GlTestContext.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

namespace {

using timetable::kPotkoAccent;

// The largest value a pulse reaches between its start and the next one.
template <typename Pulse>
float peakOf(Pulse pulse, int start, int period) {
    float peak = 0.0f;
    for (int b = 0; b < period; b += 5) peak = std::max(peak, pulse(static_cast<float>(start + b)));
    return peak;
}

TEST(PotkoBeat, KicksRunFrom3600To18000ThenOnlyTheThrob) {
    for (int start = 0; start < 26000; start += 1200) {
        const float peak = peakOf(potkoKick, start, 1200);
        if (start >= 3600 && start <= 18000)
            EXPECT_FLOAT_EQ(peak, 1.0f) << "kick from " << start;
        else
            EXPECT_LT(peak, 0.05f) << "kick from " << start;
        EXPECT_FLOAT_EQ(potkoKick(static_cast<float>(start)), 0.0f) << "a kick starts from rest";
    }
    // At 20 s: no kick at all, and the throb at full depth.
    EXPECT_FLOAT_EQ(peakOf(potkoKick, 20000, 600), 0.0f);
    EXPECT_FLOAT_EQ(peakOf(potkoThrob, 20000, 600), 1.0f);
    EXPECT_FLOAT_EQ(potkoThrob(20400.0f), 0.0f);
    EXPECT_FLOAT_EQ(peakOf(potkoThrob, 9000, 600), 0.0f);
}

TEST(PotkoBeat, TheSoundtracksHitsLandNearTheTopOfEverySwell) {
    // The soundtrack strikes kPotkoAccent into each kick from 3600 to 18000 and each throb from
    // 18600 on: each swell must stand within a tenth of its full height there.
    for (int start = 3600; start <= 18000; start += 1200)
        EXPECT_GT(potkoKick(static_cast<float>(start + kPotkoAccent)), 0.9f) << "kick from " << start;
    for (int start = 18600; start < 26000; start += 600)
        EXPECT_GT(potkoThrob(static_cast<float>(start + kPotkoAccent)), 0.9f) << "throb from " << start;
}

TEST(PotkoOpening, FullBlurAtTheStartGoneAfterTwoSeconds) {
    EXPECT_FLOAT_EQ(potkoOpeningBlur(0.0f), 0.15f);
    EXPECT_GT(potkoOpeningBlur(1.0f), 0.14f); // it holds, then clears late
    float previous = 0.15f;
    for (float s = 0.1f; s < 2.0f; s += 0.1f) {
        EXPECT_LE(potkoOpeningBlur(s), previous);
        previous = potkoOpeningBlur(s);
    }
    // Exactly zero, so the blur pass is skipped for the rest of the scene.
    EXPECT_EQ(potkoOpeningBlur(2.001f), 0.0f);
    EXPECT_EQ(potkoOpeningBlur(25.0f), 0.0f);
}

// The scene itself, on the generated models and textures.
class PotkoSceneTest : public GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        previous = std::filesystem::current_path();
        std::filesystem::current_path(CASTRELLE_TEST_DATA_DIR);
        // Every texture slot and effect buffer, loaded once: the frames are judged by their colours.
        static ShowResources* show = [] {
            auto* loaded = new ShowResources;
            ShowScenes none;
            none.selected = SceneSet::none();
            loadAll(*loaded, sceneCallsFor(none), LoadSizes{}, BarStep{nullptr, [](void*) {}});
            return loaded;
        }();
        ASSERT_FALSE(startupFailed());
        scene.attach(show->sceneEffects);
        scene.setup(512, 512, 256, 128);
        ASSERT_EQ(scene.stage.model->objectCount, 2);
    }
    void TearDown() override { std::filesystem::current_path(previous); }

    MeshObject& tower() { return scene.stage.model->mesh(PotkoScene::kTower); }

    // The tower's working height after a frame drawn at this scene clock with the squeeze wave
    // held at the same place.
    float towerHeightAt(float sceneClock) {
        scene.stage.clock.time = sceneClock;
        scene.beatClock = 3.0f;
        scene.render(0);
        float low = 1e30f, high = -1e30f;
        for (const Vec3& p : tower().workPositions) low = std::min(low, p.y), high = std::max(high, p.y);
        return high - low;
    }

    // Sum of the brightest and the mean channel sums of a square of the frame.
    static void sample(int x, int y, int size, int& brightest, double& mean) {
        std::vector<GLubyte> rgb(static_cast<size_t>(size * size * 3));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, y, size, size, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        brightest = 0;
        double total = 0.0;
        for (size_t i = 0; i < rgb.size(); i += 3) {
            const int v = rgb[i] + rgb[i + 1] + rgb[i + 2];
            brightest = std::max(brightest, v);
            total += v;
        }
        mean = total / (size * size);
    }

    // The largest step between horizontal neighbours along the middle row of the frame.
    static int sharpestStep() {
        GLubyte row[512 * 3] = {};
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 256, 512, 1, GL_RGB, GL_UNSIGNED_BYTE, row);
        int step = 0;
        for (int x = 1; x < 512; ++x) {
            int d = 0;
            for (int c = 0; c < 3; ++c) d += std::abs(row[3 * x + c] - row[3 * (x - 1) + c]);
            step = std::max(step, d);
        }
        return step;
    }

    std::filesystem::path previous;
    PotkoScene scene;
};

TEST_F(PotkoSceneTest, OpensOnABlurredTowerOverABlackBall) {
    scene.render(0);
    int cornerPeak = 0, towerPeak = 0;
    double cornerMean = 0.0, towerMean = 0.0;
    sample(0, 0, 64, cornerPeak, cornerMean);
    sample(224, 192, 64, towerPeak, towerMean);
    EXPECT_LE(cornerPeak, 3) << "the ball is black before it fades in";
    EXPECT_GT(towerPeak, 150) << "the tower is lit from the first frame";
    const int blurred = sharpestStep();

    for (int i = 0; i < 5; ++i) scene.render(500); // 2.5 s: the blur has cleared, the ball is lit
    sample(0, 0, 64, cornerPeak, cornerMean);
    EXPECT_GT(cornerMean, 60.0);
    EXPECT_GT(sharpestStep(), 3 * blurred);
}

TEST_F(PotkoSceneTest, TheBallIsLumpyAndStaysPut) {
    const MeshObject& ball = scene.stage.model->mesh(PotkoScene::kSky);
    const auto ratios = [&] {
        std::vector<float> r;
        for (int v = 0; v < ball.vertexCount; ++v) {
            const Vec3& rest = ball.positions[static_cast<size_t>(v)];
            const Vec3& moved = ball.workPositions[static_cast<size_t>(v)];
            r.push_back(std::sqrt(moved.lengthSquared() / rest.lengthSquared()));
        }
        return r;
    };
    const std::vector<float> before = ratios();
    const auto [low, high] = std::minmax_element(before.begin(), before.end());
    EXPECT_GE(*low, 0.55f - 1e-4f);
    EXPECT_LE(*high, 1.45f + 1e-4f);
    EXPECT_GT(*high - *low, 0.3f) << "the wall bulges in and out";
    scene.render(16);
    scene.render(3000);
    EXPECT_EQ(ratios(), before);
}

TEST_F(PotkoSceneTest, HandlesStretchTheElementIntoAColumnThatKicksOnTheBeat) {
    float low = 1e30f, high = -1e30f;
    for (const Vec3& p : tower().positions) low = std::min(low, p.y), high = std::max(high, p.y);
    const float rest = high - low;
    const float between = towerHeightAt(10800.0f + 1000.0f); // the kick has settled
    const float onKick = towerHeightAt(10800.0f + 450.0f);   // the kick at its height
    EXPECT_GT(between, 15.0f * rest);
    EXPECT_LT(between, 40.0f * rest);
    EXPECT_GT(onKick, 1.05f * between);
    EXPECT_LT(onKick, 1.15f * between);
}

TEST_F(PotkoSceneTest, SqueezeWaveRunsAboutThreeTimesAsFastOnTheThrob) {
    const auto advanceOverOneBeat = [&](float from) {
        scene.stage.clock.time = from;
        scene.beatClock = 0.0f;
        for (int i = 0; i < 6; ++i) scene.render(100);
        return scene.beatClock;
    };
    const float steady = advanceOverOneBeat(10000.0f);
    const float throbbing = advanceOverOneBeat(20000.0f);
    EXPECT_NEAR(steady, 0.6f, 1e-4f);
    EXPECT_GT(throbbing, 2.5f * steady);
    EXPECT_LT(throbbing, 3.3f * steady);
}

TEST_F(PotkoSceneTest, EightCopiesDifferOnlyInHeightAndTurnAndEachPassDrawsThemAll) {
    resetDrawnTriangles();
    scene.render(16);
    const int ball = scene.stage.model->mesh(PotkoScene::kSky).faceCount;
    const int element = tower().faceCount;
    // Glow pass and full pass, two passes per mesh each (texture, then reflection).
    EXPECT_EQ(drawnTriangles(), 2 * 2 * (ball + PotkoScene::kTowerCopies * element));
    EXPECT_EQ(tower().rotationY, 0.0f);

    // World positions of each copy under the placement GL applies when drawing.
    const auto copyAt = [&](int c) {
        scene.placeCopy(c);
        setOrthoScreen(*scene.stage.model); // identity modelview: object space to world
        transformToWorld(*scene.stage.model, PotkoScene::kTower, worldFromWorking, false);
        return tower().worldPositions;
    };
    const std::vector<Vec3> first = copyAt(0);
    for (int c = 1; c < PotkoScene::kTowerCopies; ++c) {
        const std::vector<Vec3> copy = copyAt(c);
        const float turn = static_cast<float>(c) * PotkoScene::kCopyTurn;
        const float cs = std::cos(turn), sn = std::sin(turn);
        float worst = 0.0f;
        for (size_t v = 0; v < first.size(); ++v) {
            const Vec3& p = first[v];
            const Vec3 expected(p.x * cs + p.z * sn, p.y + static_cast<float>(c), -p.x * sn + p.z * cs);
            worst = std::max(worst, expected.minus(copy[v]).length());
        }
        EXPECT_LT(worst, 1e-3f) << "copy " << c;
    }
}

} // namespace
