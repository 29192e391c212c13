// The grids restated from the scene clocks: each hit must sit where the scene's own pulse starts.
#include "score/SceneGrids.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace score;

namespace {
long ms(double seconds) { return std::lround(seconds * 1000.0); }
long mod(long a, long b) { return ((a % b) + b) % b; }
} // namespace

TEST(SceneGrids, TitleHitsStartTheBackgroundPulse) {
    const HitGrid g = titleGrid();
    ASSERT_EQ(g.mainHits.size(), 30u); // 395 ms and every 1400 ms up to the cut at 41.8 s
    EXPECT_EQ(ms(g.mainHits.front()), 395);
    for (double t : g.mainHits) EXPECT_EQ(mod(ms(t) + 5 + 1000, 1400), 0) << t; // clock = t + 5
    for (double t : g.afterBeats) EXPECT_EQ(mod(ms(t) + 5 + 1000, 1400), 800) << t;
}

TEST(SceneGrids, SwarmHitsArePeaksOfTheTwoStreakPulses) {
    const HitGrid g = swarmStreakGrid();
    for (double t : g.mainHits) {
        const long h = mod(ms(t) + 2600, 3660);
        EXPECT_TRUE(h == 150 || h == 750) << t;
        EXPECT_GE(t, 44.8); // after the intro streak
        EXPECT_LT(t, 56.2);
    }
    EXPECT_EQ(g.mainHits.size(), 7u);
}

TEST(SceneGrids, FlashHitsAreWhereTheStarBallSmearStartsDying) {
    const HitGrid g = swarmFlashGrid();
    ASSERT_EQ(g.mainHits.size(), 4u);
    for (double t : g.mainHits) EXPECT_EQ(mod(ms(t) - 56500, 3600), 0);
    EXPECT_LT(g.mainHits.back(), 70.0);
}

TEST(SceneGrids, SwarmCameraCutsAreWhereTheVariantFlips) {
    for (double t : swarmCameraCuts(41.8, 70.0)) {
        const long before = mod(ms(t) - 1 + 3100, 7400) >= 3700;
        const long after = mod(ms(t) + 3100, 7400) >= 3700;
        EXPECT_NE(before, after) << t;
    }
}

TEST(SceneGrids, HipuHitsAreTheBlobFlaresOnItsClock) {
    const HitGrid g = hipuGrid();
    // Clock: -3100, +1 warm-up, +500 ms drawn during the dissolve at 85.5 - 86 s, then from 97.3 s.
    for (double t : g.mainHits) {
        const long c = -3099 + 500 + (ms(t) - 97300);
        const long b = mod(c + 700, 1880);
        EXPECT_TRUE(b == 0 || b == 940) << t;
        EXPECT_GE(c, 3600);
    }
    EXPECT_EQ(ms(g.mainHits.front()), 103899);
    EXPECT_LT(g.mainHits.back(), 126.0);
}

TEST(SceneGrids, DuckHitsAreTheLowestPointsOfTheBob) {
    const HitGrid g = duckGrid();
    ASSERT_GT(g.mainHits.size(), 30u);
    for (double t : g.mainHits) {
        const double c = (t * 1000.0 - 126000.0) + 10501.0;
        EXPECT_NEAR(std::sin(6.38 * c * 0.001), -1.0, 1e-9) << t;
        EXPECT_GE(t, 126.0);
        EXPECT_LT(t, 157.0);
    }
}

TEST(SceneGrids, PotkoKicksAndThrobFollowTheTowerClock) {
    for (double t : potkoKickGrid().mainHits) {
        const long c = ms(t) - 220000 + 1;
        EXPECT_EQ(mod(c, 1200), 0);
        EXPECT_GE(c, 3300);
        EXPECT_LT(c, 18500);
    }
    for (double t : potkoThrobGrid().mainHits) {
        const long c = ms(t) - 220000 + 1;
        EXPECT_EQ(mod(c, 600), 0);
        EXPECT_GE(c, 18500);
        EXPECT_LT(t, 246.0);
    }
    EXPECT_EQ(potkoKickGrid().mainHits.size(), 13u);
}

TEST(SceneGrids, ClosingHitsStartTheRoomPulse) {
    const HitGrid g = closingGrid();
    for (double t : g.mainHits) EXPECT_EQ(mod(ms(t) - 246000 + 10501 + 2200, 1400), 0) << t;
    for (double t : g.afterBeats) EXPECT_EQ(mod(ms(t) - 246000 + 10501 + 2200, 1400), 800) << t;
    EXPECT_EQ(ms(g.mainHits.front()), 247299);
    EXPECT_LT(g.mainHits.back(), 285.3);
}

TEST(SceneGrids, PeriodicTimesSolveTheModularEquation) {
    const std::vector<double> t = periodicMs(1005.0, 1400.0, 0.0, 5000.0);
    EXPECT_EQ(t, (std::vector<double>{395.0, 1795.0, 3195.0, 4595.0}));
    EXPECT_TRUE(periodicMs(0.0, 100.0, 50.0, 60.0).empty());
}
