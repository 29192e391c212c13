#include "synth/Automation.h"

#include <gtest/gtest.h>

TEST(Automation, StraightLinesBetweenPointsHeldOutside) {
    synth::Automation a;
    EXPECT_EQ(a.valueAt(3.0), 0.0f); // nothing drawn: the resting value
    a.to(1.0, -12.0f).to(3.0, 0.0f).to(3.0, 6.0f);
    EXPECT_EQ(a.valueAt(0.0), -12.0f);
    EXPECT_FLOAT_EQ(a.valueAt(2.5), -3.0f);
    // Two points at one time are a step: after it the later one holds.
    EXPECT_EQ(a.valueAt(3.0), 6.0f);
    EXPECT_EQ(a.valueAt(100.0), 6.0f);
}

TEST(Automation, FrequenciesMoveByEqualRatios) {
    synth::Automation a;
    a.to(0.0, 100.0f).to(2.0, 6400.0f);
    EXPECT_NEAR(a.geometricAt(1.0), 800.0f, 0.5f); // three octaves of six in half the time
    EXPECT_NEAR(a.geometricAt(0.5), 282.8f, 0.5f);
    EXPECT_FLOAT_EQ(a.geometricAt(-1.0), 100.0f);
}
