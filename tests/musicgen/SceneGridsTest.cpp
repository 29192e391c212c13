// The grids come from the show's timetable; what is checked here is what a typo in a derivation
// would break: every hit inside its section, in order, and the modular solver itself.
#include "score/SceneGrids.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace score;

TEST(SceneGrids, EveryHitLiesInsideItsSectionInOrder) {
    for (const HitGrid& g : allGrids()) {
        EXPECT_FALSE(g.mainHits.empty()) << g.section;
        for (const std::vector<double>* hits : {&g.mainHits, &g.afterBeats}) {
            EXPECT_TRUE(std::is_sorted(hits->begin(), hits->end())) << g.section;
            for (double t : *hits) {
                EXPECT_GE(t, g.begin) << g.section;
                EXPECT_LT(t, g.end) << g.section;
            }
        }
    }
}

TEST(SceneGrids, PeriodicTimesSolveTheModularEquation) {
    const std::vector<double> t = periodicMs(1005.0, 1400.0, 0.0, 5000.0);
    EXPECT_EQ(t, (std::vector<double>{395.0, 1795.0, 3195.0, 4595.0}));
    EXPECT_TRUE(periodicMs(0.0, 100.0, 50.0, 60.0).empty());
}
