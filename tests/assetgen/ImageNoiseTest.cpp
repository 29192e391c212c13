#include "image/Noise.h"
#include "image/Worley.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// Mean absolute step between the last and first column (the wrap seam), against the mean step
// between neighbouring columns inside the field.
double seamRatio(const Field& f) {
    double seam = 0.0, inner = 0.0;
    for (int y = 0; y < f.height; ++y) {
        seam += std::fabs(f.at(f.width - 1, y) - f.at(0, y));
        for (int x = 1; x < f.width; ++x) inner += std::fabs(f.at(x, y) - f.at(x - 1, y));
    }
    return (seam / f.height) / (inner / (double(f.height) * (f.width - 1)));
}

TEST(GradientNoise, RepeatsAfterItsPeriod) {
    for (float x = 0.1f; x < 4.0f; x += 0.37f)
        for (float y = 0.2f; y < 3.0f; y += 0.41f)
            EXPECT_NEAR(gradientNoise(x, y, 4, 3, 7), gradientNoise(x + 4.0f, y + 3.0f, 4, 3, 7), 1e-5f);
}

TEST(GradientNoise, IsZeroOnLatticePointsAndBoundedElsewhere) {
    EXPECT_FLOAT_EQ(gradientNoise(2.0f, 1.0f, 8, 8, 3), 0.0f);
    for (float x = 0.05f; x < 8.0f; x += 0.13f) {
        const float n = gradientNoise(x, 0.7f * x, 8, 8, 3);
        EXPECT_LE(std::fabs(n), 1.01f);
    }
}

TEST(GradientNoise, DifferentSeedsGiveDifferentFields) {
    const Field a = fbm(64, 64, {4, 4, 3, 0.5f, 1});
    const Field b = fbm(64, 64, {4, 4, 3, 0.5f, 2});
    EXPECT_NE(a.v, b.v);
    EXPECT_EQ(a.v, fbm(64, 64, {4, 4, 3, 0.5f, 1}).v);
}

TEST(OctaveSums, TileSeamlesslyAcrossBothEdges) {
    const Field f = fbm(128, 128, {3, 5, 5, 0.5f, 11});
    EXPECT_LT(seamRatio(f), 1.5);
    Field transposed(128, 128);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) transposed.at(x, y) = f.at(y, x);
    EXPECT_LT(seamRatio(transposed), 1.5);
    EXPECT_LT(seamRatio(ridged(128, 128, {4, 4, 5, 0.5f, 12})), 1.5);
    EXPECT_LT(seamRatio(turbulence(128, 128, {4, 4, 5, 0.5f, 13})), 1.5);
}

TEST(OctaveSums, TurbulenceAndRidgedStayNonNegative) {
    const Field t = turbulence(64, 64, {4, 4, 4, 0.5f, 5});
    const Field r = ridged(64, 64, {4, 4, 4, 0.5f, 5});
    EXPECT_GE(*std::min_element(t.v.begin(), t.v.end()), 0.0f);
    EXPECT_GE(*std::min_element(r.v.begin(), r.v.end()), 0.0f);
    EXPECT_LE(*std::max_element(r.v.begin(), r.v.end()), 1.0f);
}

TEST(WorleyCells, SecondDistanceIsNeverBelowTheFirst) {
    const CellFields c = worley(96, 96, {6, 6, 1.0f, 4});
    for (size_t i = 0; i < c.f1.v.size(); ++i) {
        EXPECT_LE(c.f1.v[i], c.f2.v[i]);
        EXPECT_GE(c.id.v[i], 0.0f);
        EXPECT_LT(c.id.v[i], 1.0f);
    }
}

TEST(WorleyCells, ZeroJitterPutsFeaturePointsAtCellCentres) {
    // 4 cells over 64 pixels: centres at pixel 8, 24, ...; the pixel centre 7.5 is half a pixel away.
    const CellFields c = worley(64, 64, {4, 4, 0.0f, 9});
    EXPECT_NEAR(c.f1.at(7, 7), std::sqrt(2.0f) * 0.5f / 16.0f, 1e-5f);
    EXPECT_NEAR(c.f1.at(15, 7), std::sqrt(7.5f * 7.5f + 0.5f * 0.5f) / 16.0f, 1e-5f);
}

TEST(WorleyCells, EachCellKeepsOneIdAndTheGridWraps) {
    const CellFields c = worley(64, 64, {4, 4, 0.0f, 9});
    EXPECT_EQ(c.id.at(1, 1), c.id.at(14, 14));
    EXPECT_NE(c.id.at(1, 1), c.id.at(17, 1));
    // A pixel on the right border is as near its wrapped neighbour as one on the left is.
    EXPECT_NEAR(c.f2.at(63, 8) - c.f1.at(63, 8), c.f2.at(0, 8) - c.f1.at(0, 8), 1e-5f);
}

} // namespace
