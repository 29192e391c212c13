#include "scenes/KukkeliScene.h"

#include "post/EffectBuffers.h"
#include "render/MeshRenderer.h"
#include "support/GlTestContext.h"
#include "tests/scenes/OneSceneTest.h"

#include <GL/gl.h>

#include <cmath>
#include <filesystem>
#include <vector>

namespace {

TEST(SwarmClock, LongStepsAreSkippedAndViewChangesJumpASecondUntil69600) {
    SceneClock clock(40000.0f);
    int previous = 0;
    advanceSwarmClock(clock, previous, 2000, 0);
    EXPECT_FLOAT_EQ(clock.time, 40000.0f);
    advanceSwarmClock(clock, previous, 1999, 0);
    EXPECT_FLOAT_EQ(clock.time, 41999.0f);
    advanceSwarmClock(clock, previous, 0, 1); // the director's crossfade renders count as a change
    EXPECT_FLOAT_EQ(clock.time, 42999.0f);
    EXPECT_EQ(previous, 1);
    advanceSwarmClock(clock, previous, 16, 1);
    EXPECT_FLOAT_EQ(clock.time, 43015.0f);

    clock.time = 69590.0f; // the step itself carries the clock past the limit: no jump
    advanceSwarmClock(clock, previous, 16, 0);
    EXPECT_FLOAT_EQ(clock.time, 69606.0f);
    EXPECT_EQ(previous, 0);
}

TEST(SwarmView, CloseBefore36400WideAfter57000TheVariantBetween) {
    EXPECT_TRUE(swarmCloseView(36.39f, 1));
    EXPECT_FALSE(swarmCloseView(36.4f, 1));
    EXPECT_TRUE(swarmCloseView(36.4f, 0));
    EXPECT_TRUE(swarmCloseView(57.0f, 0));
    EXPECT_FALSE(swarmCloseView(57.01f, 0));
}

TEST(SwarmStars, StateByDistanceInsideTheViewCone) {
    const Vec3 eye(1.0f, 2.0f, 3.0f);
    const Vec3 view(0.0f, 0.0f, -1.0f);
    const auto at = [&](float along, float across) {
        return swarmStarState(Vec3(eye.x + across, eye.y, eye.z - along), eye, view);
    };
    EXPECT_EQ(at(50.0f, 0.0f), 1);
    EXPECT_EQ(at(40.0f, 0.0f), 2); // distance and depth must exceed 40
    EXPECT_EQ(at(30.0f, 0.0f), 2);
    EXPECT_EQ(at(20.0f, 0.0f), 3);
    EXPECT_EQ(at(-0.5f, 0.0f), 3); // behind the eye, but within a unit of it
    EXPECT_EQ(at(-1.5f, 0.0f), 0);
    EXPECT_EQ(at(30.0f, 30.0f * std::tan(0.95f)), 1); // about 54.4 degrees off the axis, 51.5 away
    EXPECT_EQ(at(30.0f, 30.0f * std::tan(1.0f)), 0);  // about 57.3 degrees: outside the cone
}

TEST(SwarmStars, OrbitsStayWellInsideTheBallAndTheTwistSettles) {
    // The ball is 150 units round; every star keeps to a 60 x 15.5 x 90 box around its centre.
    for (float t = 33.0f; t < 90.0f; t += 0.37f) {
        const float twist = swarmTwist(t);
        EXPECT_GE(twist, 0.115f - 1e-6f) << t;
        EXPECT_LE(twist, 0.215f + 1e-6f) << t;
        for (int j = 1; j <= KukkeliScene::kStarCount; j += 7) {
            const Vec3 p = swarmStarPosition(t, j, twist);
            EXPECT_LE(std::fabs(p.x), 60.0f);
            EXPECT_LE(std::fabs(p.y), 15.5f);
            EXPECT_LE(std::fabs(p.z), 90.0f);
        }
    }
    EXPECT_FLOAT_EQ(swarmTwist(66.0f), 0.115f);
    EXPECT_FLOAT_EQ(swarmTwist(80.0f), 0.115f);
}

TEST(CreditRows, EachRowGathersIntoAKnotWhileItIsUp) {
    const CreditRow first = creditRowAt(0, 5.0f, 40.0f, 0.0f);
    EXPECT_FLOAT_EQ(first.spread, 0.2f);
    EXPECT_EQ(first.count, 31);
    EXPECT_FLOAT_EQ(first.alpha, 0.5f);
    EXPECT_EQ(first.slot, TextureSlot::Credpe);
    EXPECT_EQ(creditRowAt(1, 5.0f, 40.0f, 0.0f).count, 0);

    const CreditRow second = creditRowAt(1, 12.0f, 40.0f, 0.0f);
    EXPECT_EQ(second.count, 21);
    EXPECT_FLOAT_EQ(second.alpha, 0.75f);
    EXPECT_EQ(second.slot, TextureSlot::Credko);
    EXPECT_EQ(creditRowAt(0, 12.0f, 40.0f, 0.0f).count, 0);

    // Just in, the row is a long faint string; outside its window it is gone.
    const CreditRow arriving = creditRowAt(0, 3.55f, 40.0f, 0.0f);
    EXPECT_GT(arriving.count, 100);
    EXPECT_LT(arriving.alpha, 0.01f);
    EXPECT_EQ(creditRowAt(0, 3.5f, 40.0f, 0.0f).count, 0);
    EXPECT_EQ(creditRowAt(0, 6.51f, 40.0f, 0.0f).count, 0);
}

TEST(CreditRows, WobbleStaysSmallWhereTheRowCrossesNegativeX) {
    const NoiseField noise(256, 255, 10);
    CreditRow row = creditRowAt(0, 4.0f, 40.0f, 0.0f);
    ASSERT_GT(row.count, 0);
    float largest = 0.0f;
    for (float x = -33.0f; x <= 33.0f; x += 0.0613f) {
        row.centre.set(x, 4.0f, 10.0f);
        for (int m = 0; m < row.count; m += 9) {
            const Vec3 p = creditSpritePosition(row, m, noise, 40.0f);
            const float along = static_cast<float>(m - 1);
            largest = std::fmax(largest, std::fabs(p.x - (x + along * row.step.x)));
            largest = std::fmax(largest, std::fabs(p.y - (4.0f + along * row.step.y)));
        }
    }
    EXPECT_LT(largest, 2.3f * 1.2f); // one octave of gradient noise stays within about +-1
    EXPECT_GT(largest, 0.2f);        // but it does wobble
}

// The scene itself, on the generated models.
class KukkeliSceneTest : public OneSceneTest<KukkeliScene> {
  protected:
    int drawnStars() const {
        int n = 0;
        for (const int s : scene.starState) n += s != 0 ? 1 : 0;
        return n;
    }

    // Sum of the red channel over a block of the frame.
    long redIn(int x, int y, int w, int h) {
        std::vector<GLubyte> rgb(static_cast<std::size_t>(3 * w * h));
        glReadPixels(x, y, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        long sum = 0;
        for (std::size_t i = 0; i < rgb.size(); i += 3) sum += rgb[i];
        return sum;
    }
};

TEST_F(KukkeliSceneTest, WarmUpsJumpTheClockOnceAndFeedTheCredits) {
    scene.render(1, 0);
    scene.render(1, 1);
    EXPECT_FLOAT_EQ(scene.stage.clock.time, 32100.0f + 1.0f + 1.0f + 1000.0f);
    EXPECT_NEAR(scene.creditsClock, 0.002f, 1e-6f);
}

TEST_F(KukkeliSceneTest, OnlyStarsInTheViewConeAreDrawnInOneBatchPerPass) {
    scene.stage.clock.time = 50000.0f;
    resetDrawnBatches();
    resetDrawnTriangles();
    scene.render(16, 1);
    const int stars = drawnStars();
    EXPECT_GT(stars, 20);
    EXPECT_LT(stars, KukkeliScene::kStarCount);
    // The glow pass and the full pass: the ball in one pass, the stars textured and reflecting.
    EXPECT_EQ(drawnBatches(), 2 * (1 + 2));
    const std::int64_t ball = scene.stage.model->mesh(KukkeliScene::kSky).faceCount;
    const std::int64_t star = scene.stage.model->mesh(KukkeliScene::kFirstStar).faceCount;
    EXPECT_EQ(drawnTriangles(), 2 * (ball + 2 * star * stars));

    scene.starsEnabled = false;
    resetDrawnBatches();
    scene.render(16, 1);
    EXPECT_EQ(drawnBatches(), 2);
}

TEST_F(KukkeliSceneTest, StarsFlareOneByOneThirtyMillisecondsApart) {
    const int first = KukkeliScene::kFirstStar;
    // Star i's flare runs over [69.6 + 0.03 (first + i), +0.2] s.
    scene.stage.clock.time = 1000.0f * (69.6f + 0.03f * static_cast<float>(first + 10)) + 205.0f;
    scene.previousVariant = 1;
    scene.render(0, 1);
    EXPECT_FLOAT_EQ(scene.popIn[0], 1.0f);
    EXPECT_FLOAT_EQ(scene.popIn[10], 1.0f);
    EXPECT_GT(scene.popIn[11], 0.0f);
    EXPECT_LT(scene.popIn[11], 1.0f);
    EXPECT_FLOAT_EQ(scene.popIn[20], 0.0f);
}

TEST_F(KukkeliSceneTest, FirstCreditRowLightsTheTopOfTheWideView) {
    // The show reaches credits time 5 s at scene time 40.1 s in the wide view.
    const auto frameAt = [&](float credits) {
        scene.stage.clock.time = 40102.0f;
        scene.previousVariant = 1;
        scene.creditsClock = credits;
        scene.render(0, 1);
        return redIn(128, 384, 256, 128);
    };
    const long without = frameAt(0.0f);
    const long with = frameAt(5.0f);
    EXPECT_GT(with, without + 256L * 128L * 40L); // 40 levels of red more on average
}

} // namespace
