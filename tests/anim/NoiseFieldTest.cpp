#include "anim/NoiseField.h"
#include "anim/Random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

// The twelve cube-edge gradients in table order.
const int kEdgeGradients[12][3] = {
    {0, 1, 1},  {0, 1, -1},  {0, -1, 1}, {0, -1, -1}, {1, 0, 1},  {1, 0, -1},
    {-1, 0, 1}, {-1, 0, -1}, {1, 1, 0},  {1, -1, 0},  {-1, 1, 0}, {-1, -1, 0},
};

// Gradient of the lattice point (x, y, z), hashed z first, then y, then x.
const int* latticeGradient(const NoiseField& f, int x, int y, int z) {
    const int m = f.mask;
    const int a = f.permA[z & m] + (y & m);
    const int h = f.permB[a & m] + (x & m);
    const int offset = f.gradientIndex[h & m];
    return kEdgeGradients[offset / 3];
}

// A small pseudo-random point in [lo, hi)^3 for sampling.
struct Sampler {
    RandomGenerator g;
    float next(float lo, float hi) { return lo + (hi - lo) * static_cast<float>(g.draw()) / 32768.0f; }
};

bool isPermutation(const std::vector<int>& v) {
    std::vector<int> seen(v.size(), 0);
    for (int x : v) {
        if (x < 0 || x >= static_cast<int>(v.size()) || seen[x]) return false;
        seen[x] = 1;
    }
    return true;
}

TEST(NoiseFieldTables, SeedTenGivesGradientIndex33First) {
    const NoiseField f(256, 255, 10);
    EXPECT_EQ(f.gradientIndex[0], 33); // first draw 71: (71 mod 12) * 3
}

TEST(NoiseFieldTables, PermutationsHoldEveryIndexOnce) {
    for (int size : {128, 256, 1024}) {
        const NoiseField f(size, size - 1, 222);
        EXPECT_EQ(static_cast<int>(f.permA.size()), size);
        EXPECT_TRUE(isPermutation(f.permA)) << size;
        EXPECT_TRUE(isPermutation(f.permB)) << size;
        EXPECT_NE(f.permA, f.permB);
    }
}

TEST(NoiseFieldTables, TablesFollowTheDrawOrder) {
    const int size = 128;
    const NoiseField f(size, size - 1, 333);
    RandomGenerator g;
    g.seed(333);
    for (int i = 0; i < size; ++i) ASSERT_EQ(f.gradientIndex[i], (g.draw() % 12) * 3) << i;
    std::vector<int> b(size), a(size);
    for (int i = 0; i < size; ++i) b[i] = a[i] = i;
    for (int i = 0; i < size; ++i) {
        std::swap(b[g.draw() & (size - 1)], b[i]);
        std::swap(a[g.draw() & (size - 1)], a[i]);
        g.draw();
    }
    EXPECT_EQ(f.permB, b);
    EXPECT_EQ(f.permA, a);
}

TEST(NoiseFieldTables, SameSeedGivesSameTablesOtherSeedsDiffer) {
    const NoiseField first(512, 511, 222);
    seedRandom(777); // whatever the shared generator did before must not matter
    drawRandom();
    const NoiseField second(512, 511, 222);
    const NoiseField other(512, 511, 223);
    EXPECT_EQ(first.gradientIndex, second.gradientIndex);
    EXPECT_EQ(first.permA, second.permA);
    EXPECT_EQ(first.permB, second.permB);
    EXPECT_NE(first.permA, other.permA);
}

TEST(NoiseFieldTables, ConstructionLeavesTheSharedGeneratorAfterItsDraws) {
    const int size = 256;
    const NoiseField f(size, size - 1, 10);
    RandomGenerator g;
    g.seed(10);
    for (int i = 0; i < size + 3 * size; ++i) g.draw(); // one per gradient, three per swap round
    EXPECT_EQ(drawRandom(), g.draw());
}

TEST(NoiseFieldTables, MaskWiderThanTheTablesIsNarrowedToThem) {
    const NoiseField narrowed(128, 255, 7);
    const NoiseField exact(128, 127, 7);
    EXPECT_EQ(narrowed.mask, 127);
    EXPECT_EQ(narrowed.permA, exact.permA);
    EXPECT_EQ(narrowed.permB, exact.permB);
    EXPECT_FLOAT_EQ(narrowed.noise(300.3f, 200.7f, 150.2f), exact.noise(300.3f, 200.7f, 150.2f));
}

TEST(NoiseValues, IntegerPointsGiveZero) {
    const NoiseField f(256, 255, 10);
    for (int x = 0; x < 300; x += 7)
        for (int y = 0; y < 300; y += 11)
            for (int z = 0; z < 300; z += 13) ASSERT_EQ(f.noise(x, y, z), 0.0f) << x << " " << y << " " << z;
    EXPECT_EQ(f.noise(100000.0f, 10000.0f, 3.0f), 0.0f);
}

TEST(NoiseValues, NearEveryCellCornerNoiseFollowsThatCornersGradient) {
    // The fade is flat at the corners, so close to a corner only its own gradient term counts.
    const NoiseField f(128, 127, 222);
    const float d = 1e-3f;
    const int cells[][3] = {{0, 0, 0}, {5, 17, 3}, {126, 127, 64}, {200, 3, 129}};
    for (const auto& cell : cells) {
        for (int i = 0; i <= 1; ++i)
            for (int j = 0; j <= 1; ++j)
                for (int k = 0; k <= 1; ++k) {
                    // Offsets from the corner, pointing into the cell.
                    const float ox = i ? -d : d, oy = j ? -2 * d : 2 * d, oz = k ? -3 * d : 3 * d;
                    const float x = static_cast<float>(cell[0] + i) + ox;
                    const float y = static_cast<float>(cell[1] + j) + oy;
                    const float z = static_cast<float>(cell[2] + k) + oz;
                    const int* g = latticeGradient(f, cell[0] + i, cell[1] + j, cell[2] + k);
                    const float expected = g[0] * ox + g[1] * oy + g[2] * oz;
                    EXPECT_NEAR(f.noise(x, y, z), expected, 2e-5f) << i << j << k;
                }
    }
}

TEST(NoiseValues, ContinuousAcrossCellFacesForNonNegativeInputs) {
    const NoiseField f(256, 255, 111);
    Sampler s;
    s.g.seed(5);
    const float e = 1e-4f;
    for (int n = 0; n < 500; ++n) {
        const float face = static_cast<float>(1 + s.g.draw() % 300);
        const float y = s.next(0, 300), z = s.next(0, 300);
        EXPECT_NEAR(f.noise(face - e, y, z), f.noise(face + e, y, z), 1e-3f);
        EXPECT_NEAR(f.noise(z, face - e, y), f.noise(z, face + e, y), 1e-3f);
        EXPECT_NEAR(f.noise(y, z, face - e), f.noise(y, z, face + e), 1e-3f);
    }
}

TEST(NoiseValues, StaysAboutWithinPlusMinusOneAndVaries) {
    const NoiseField f(1024, 1023, 2);
    Sampler s;
    s.g.seed(9);
    double sum = 0.0, sumSquares = 0.0, largest = 0.0;
    const int n = 100000;
    for (int i = 0; i < n; ++i) {
        const double v = f.noise(s.next(0, 2000), s.next(0, 2000), s.next(0, 2000));
        sum += v;
        sumSquares += v * v;
        largest = std::fmax(largest, std::fabs(v));
    }
    EXPECT_LE(largest, 1.1);
    EXPECT_NEAR(sum / n, 0.0, 0.01);
    EXPECT_GT(std::sqrt(sumSquares / n), 0.1);
}

TEST(NoiseValues, NegativeInputsUseTheTruncatedCell) {
    // Truncation puts -0.5 in the cell of 0 with fraction -0.5: the fade extrapolates, so the
    // noise jumps at negative integers and leaves the usual range, while it stays continuous
    // at the positive ones.
    const NoiseField f(256, 255, 10);
    Sampler s;
    s.g.seed(3);
    const float e = 1e-4f;
    float largestJump = 0.0f, largestValue = 0.0f;
    for (int n = 0; n < 200; ++n) {
        const float y = s.next(0, 100), z = s.next(0, 100);
        largestJump = std::fmax(largestJump, std::fabs(f.noise(-1 - e, y, z) - f.noise(-1 + e, y, z)));
        largestValue = std::fmax(largestValue, std::fabs(f.noise(-1 + e, y, z)));
        EXPECT_NEAR(f.noise(1 - e, y, z), f.noise(1 + e, y, z), 1e-3f);
    }
    EXPECT_GT(largestJump, 0.5f);
    EXPECT_GT(largestValue, 1.5f);
}

TEST(NoiseValues, HugeCoordinatesStayDefined) {
    const NoiseField f(256, 255, 10);
    EXPECT_EQ(f.noise(3.0e9f, 7.0f, 9.0f), 0.0f);
    EXPECT_TRUE(std::isfinite(f.noise(3.0e9f, 7.5f, 9.25f)));
    EXPECT_TRUE(std::isfinite(f.noise(-3.0e9f, 7.5f, 9.25f)));
}

TEST(NoiseSums, OneOctaveOfFbmIsNoiseAndOfTurbulenceItsAbsoluteValue) {
    const NoiseField f(256, 255, 10);
    Sampler s;
    s.g.seed(11);
    for (int i = 0; i < 100; ++i) {
        const float x = s.next(0, 500), y = s.next(0, 500), z = s.next(0, 500);
        EXPECT_EQ(f.fbm(x, y, z, 1), f.noise(x, y, z));
        EXPECT_EQ(f.turbulence(x, y, z, 1), std::fabs(f.noise(x, y, z)));
    }
}

TEST(NoiseSums, ZeroOctavesGiveZero) {
    const NoiseField f(256, 255, 10);
    EXPECT_EQ(f.fbm(1.3f, 2.7f, 3.1f, 0), 0.0f);
    EXPECT_EQ(f.turbulence(1.3f, 2.7f, 3.1f, 0), 0.0f);
    EXPECT_EQ(f.fractalSum(1.3f, 2.7f, 3.1f, 0, 1.5f, 0.2f), 0.0f);
}

TEST(NoiseSums, OctavesScaleThePointByLacunarityAndTheAmplitudeByGain) {
    const NoiseField f(512, 511, 222);
    const float x = 10.37f, y = 3.91f, z = 57.2f;
    const float sum3 = f.noise(x, y, z) + 0.6f * f.noise(1.5f * x, 1.5f * y, 1.5f * z) +
                       0.36f * f.noise(2.25f * x, 2.25f * y, 2.25f * z);
    EXPECT_NEAR(f.fractalSum(x, y, z, 3, 1.5f, 0.6f), sum3, 1e-5f);
    const float fbm3 =
        f.noise(x, y, z) + 0.5f * f.noise(2 * x, 2 * y, 2 * z) + 0.25f * f.noise(4 * x, 4 * y, 4 * z);
    EXPECT_NEAR(f.fbm(x, y, z, 3), fbm3, 1e-6f);
    const float turbulence3 = std::fabs(f.noise(x, y, z)) + 0.5f * std::fabs(f.noise(2 * x, 2 * y, 2 * z)) +
                              0.25f * std::fabs(f.noise(4 * x, 4 * y, 4 * z));
    EXPECT_NEAR(f.turbulence(x, y, z, 3), turbulence3, 1e-6f);
    EXPECT_GT(turbulence3, std::fabs(fbm3) - 1e-6f);
}

} // namespace
