#include "anim/Envelope.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

Envelope window(float start, float length) {
    Envelope e;
    e.inStart = start;
    e.inLength = length;
    return e;
}

TEST(EnvelopeRamps, LinearRampUpAndDown) {
    const Envelope e = window(1000, 500);
    EXPECT_FLOAT_EQ(e.rampUp(1000), 0.0f);
    EXPECT_FLOAT_EQ(e.rampUp(1250), 0.5f);
    EXPECT_FLOAT_EQ(e.rampUp(1500), 1.0f);
    EXPECT_FLOAT_EQ(e.rampUp(1501), 1.0f);
    EXPECT_FLOAT_EQ(e.rampDown(1000), 1.0f);
    EXPECT_FLOAT_EQ(e.rampDown(1250), 0.5f);
    EXPECT_FLOAT_EQ(e.rampDown(2000), 0.0f);
}

TEST(EnvelopeFades, HalfCosineFadeInAndOut) {
    const Envelope e = window(0, 1000);
    EXPECT_NEAR(e.fadeIn(500, 1, 1), 0.5f, 1e-5f);
    EXPECT_FLOAT_EQ(e.fadeIn(0, 1, 1), 0.0f);
    EXPECT_NEAR(e.fadeIn(1000, 1, 1), 1.0f, 1e-5f);
    EXPECT_FLOAT_EQ(e.fadeOut(0, 1, 1), 1.0f);
    EXPECT_NEAR(e.fadeOut(250, 1, 1), 0.853553f, 1e-4f);
    EXPECT_FLOAT_EQ(e.fadeOut(1001, 1, 1), 0.0f);
}

TEST(EnvelopeFades, FadeInOutMultipliesBothWindows) {
    Envelope e = window(0, 150);
    e.outStart = 150;
    e.outLength = 150;
    EXPECT_NEAR(e.fadeInOut(75, 1, 1), 0.5f, 1e-5f);
    EXPECT_NEAR(e.fadeInOut(150, 1, 1), 1.0f, 1e-5f);
    EXPECT_NEAR(e.fadeInOut(225, 1, 1), 0.5f, 1e-5f);
    EXPECT_FLOAT_EQ(e.fadeInOut(301, 1, 1), 0.0f);
}

TEST(EnvelopeFades, PhaseThreeRunsThroughThreeHalfWaves) {
    const Envelope e = window(0, 900);
    EXPECT_NEAR(e.fadeIn(300, 3, 1), 1.0f, 1e-4f);
    EXPECT_NEAR(e.fadeIn(600, 3, 1), 0.0f, 1e-4f);
    EXPECT_NEAR(e.fadeIn(899.9f, 3, 1), 1.0f, 1e-3f);
}

TEST(EnvelopeFades, ShapeThreeDelaysTheRise) {
    const Envelope e = window(0, 1000);
    EXPECT_LT(e.fadeIn(500, 1, 3), 0.2f);
    EXPECT_NEAR(e.fadeIn(500, 1, 3), 0.5f - 0.5f * std::cos(0.125f * 3.14159f), 1e-5f);
}

TEST(EnvelopeFades, RampScaleEndsWindowEarly) {
    Envelope e = window(0, 1000);
    e.rampScale = 0.5f;
    EXPECT_NEAR(e.fadeIn(500, 1, 1), 0.5f, 1e-5f); // still on the curve at the boundary
    EXPECT_FLOAT_EQ(e.fadeIn(501, 1, 1), 1.0f);
    EXPECT_FLOAT_EQ(e.fadeOut(501, 1, 1), 0.0f);
}

TEST(EnvelopeFades, ZeroLengthWindowOnlyHasOuterCases) {
    const Envelope e = window(100, 0);
    EXPECT_FLOAT_EQ(e.fadeIn(100, 1, 1), 0.0f);
    EXPECT_FLOAT_EQ(e.fadeIn(100.5f, 1, 1), 1.0f);
    EXPECT_FLOAT_EQ(e.rampUp(100), 0.0f);
    EXPECT_FLOAT_EQ(e.rampUp(100.5f), 1.0f);
}

TEST(AngleOf, RangeIsMinusHalfPiToThreeHalfPi) {
    EXPECT_NEAR(angleOf(1, -1), 2.356194f, 1e-4f);
    EXPECT_FLOAT_EQ(angleOf(-1, 0), -1.570795f);
    EXPECT_FLOAT_EQ(angleOf(0, 0), -1.570795f);
    EXPECT_FLOAT_EQ(angleOf(1, 0), 1.570795f);
    EXPECT_NEAR(angleOf(-1, -1), 3.14159f + 0.785398f, 1e-4f);
    EXPECT_NEAR(angleOf(1, 1), 0.785398f, 1e-5f);
}

} // namespace
