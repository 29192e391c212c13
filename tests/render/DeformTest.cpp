#include "render/geometry/Deform.h"

#include "tests/render/GeometryTestMeshes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

// The kernel written out term by term, to compare the evaluation order against.
double wendlandByFormula(double x) {
    const double q = std::sqrt(x);
    return std::pow(1.0 - q, 8) * (32.0 * q * q * q + 25.0 * q * q + 8.0 * q + 1.0);
}

// A model with one mesh of loose points (no faces) at the given rest positions.
struct PointsFixture {
    Model model{4, 512, 512, 256, 128};
    int mesh = 0;
    explicit PointsFixture(std::vector<Vec3> points) {
        mesh = testmesh::add(model, testmesh::Shape{std::move(points), {}});
    }
    const Vec3& work(int i) const { return model.mesh(mesh).workPositions[static_cast<std::size_t>(i)]; }
};

void expectAt(const Vec3& v, float x, float y, float z) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

TEST(WendlandWeight, IsOneAtTheCentreAndZeroFromTheRadiusOn) {
    EXPECT_EQ(wendlandWeight(0.0f), 1.0f);
    EXPECT_EQ(wendlandWeight(1.0f), 0.0f);
    EXPECT_EQ(wendlandWeight(1.0001f), 0.0f);
    EXPECT_EQ(wendlandWeight(50.0f), 0.0f);
}

TEST(WendlandWeight, FollowsTheC6Polynomial) {
    EXPECT_EQ(wendlandWeight(0.25f), static_cast<float>(wendlandByFormula(0.25)));
    for (float x = 0.05f; x < 1.0f; x += 0.1f)
        EXPECT_NEAR(wendlandWeight(x), wendlandByFormula(x), 1e-6) << x;
}

TEST(WendlandWeight, GivesNoWeightOutsideItsDomain) {
    EXPECT_EQ(wendlandWeight(-0.5f), 0.0f);
    EXPECT_EQ(wendlandWeight(std::numeric_limits<float>::quiet_NaN()), 0.0f);
    EXPECT_EQ(wendlandWeight(std::numeric_limits<float>::infinity()), 0.0f);
}

TEST(DeformWeighted, MovesByStrengthTimesWeightWithinReachOnly) {
    PointsFixture f({Vec3(0, 0, 0), Vec3(3, 0, 0), Vec3(1, 0, 0)});
    const Vec3 source(0, 0, 0), target(1, 0, 0);
    const float strength = 2.0f, radius2 = 4.0f;
    deformWeighted(f.model, f.mesh, 1, &source, &target, &strength, &radius2);
    expectAt(f.work(0), 2, 0, 0);
    expectAt(f.work(1), 3, 0, 0);
    expectAt(f.work(2), 1 + 2 * wendlandWeight(0.25f), 0, 0);
}

TEST(DeformWeighted, AddsTheFullPullsOfOverlappingHandles) {
    PointsFixture f({Vec3(0, 0, 0)});
    const Vec3 sources[2] = {Vec3(0, 0, 0), Vec3(0, 0, 0)};
    const Vec3 targets[2] = {Vec3(1, 0, 0), Vec3(0, 1, 0)};
    const float strengths[2] = {1.0f, 0.5f}, radii2[2] = {1.0f, 1.0f};
    deformWeighted(f.model, f.mesh, 2, sources, targets, strengths, radii2);
    expectAt(f.work(0), 1, 0.5f, 0);
}

TEST(DeformWeighted, StartsFromTheRestShapeEveryTime) {
    PointsFixture f({Vec3(0, 0, 0)});
    const Vec3 source(0, 0, 0), target(1, 0, 0);
    const float strength = 1.0f, radius2 = 1.0f;
    deformWeighted(f.model, f.mesh, 1, &source, &target, &strength, &radius2);
    deformWeighted(f.model, f.mesh, 1, &source, &target, &strength, &radius2);
    expectAt(f.work(0), 1, 0, 0);
    expectAt(f.model.mesh(f.mesh).positions[0], 0, 0, 0);
    EXPECT_EQ(f.model.mesh(f.mesh).workBuffersReady, 1);
}

TEST(DeformWeighted, IgnoresAHandleWithoutAPositiveRadius) {
    PointsFixture f({Vec3(0, 0, 0), Vec3(0.5f, 0, 0)});
    const Vec3 source(0, 0, 0), target(1, 0, 0);
    const float strength = 1.0f;
    for (float radius2 : {0.0f, -4.0f, std::numeric_limits<float>::quiet_NaN()}) {
        deformWeighted(f.model, f.mesh, 1, &source, &target, &strength, &radius2);
        expectAt(f.work(0), 0, 0, 0);
        expectAt(f.work(1), 0.5f, 0, 0);
        deformBlended(f.model, f.mesh, 1, &source, &target, &radius2);
        expectAt(f.work(0), 0, 0, 0);
    }
}

// One handle per vertex of the largest mesh a 3DS file can hold must fit the scratch weights.
TEST(DeformWeighted, TakesAHandleForEveryVertexOfTheLargestMesh) {
    PointsFixture f({Vec3(0, 0, 0)});
    const std::size_t n = maxDeformHandles;
    EXPECT_GE(n, 65535u);
    std::vector<Vec3> sources(n, Vec3(100, 0, 0)), targets(n, Vec3(100, 0, 0));
    std::vector<float> strengths(n, 1.0f), radii2(n, 1.0f);
    sources.back().set(0, 0, 0);
    targets.back().set(0, 0, 3);
    deformWeighted(f.model, f.mesh, static_cast<int>(n), sources.data(), targets.data(), strengths.data(),
                   radii2.data());
    expectAt(f.work(0), 0, 0, 3);
}

TEST(DeformBlended, MovesByTheWeightedMeanOfTheHandleDisplacements) {
    PointsFixture f({Vec3(0, 0, 0)});
    const Vec3 sources[2] = {Vec3(0.5f, 0, 0), Vec3(-0.5f, 0, 0)};
    const Vec3 targets[2] = {Vec3(1.5f, 0, 0), Vec3(-0.5f, 1, 0)};
    const float radii2[2] = {4.0f, 4.0f};
    deformBlended(f.model, f.mesh, 2, sources, targets, radii2);
    expectAt(f.work(0), 0.5f, 0.5f, 0);
}

TEST(DeformBlended, GivesTheFullDisplacementAnywhereInsideOneHandle) {
    PointsFixture f({Vec3(1.9f, 0, 0), Vec3(2.1f, 0, 0)});
    const Vec3 source(0, 0, 0), target(0, 0, -2);
    const float radius2 = 4.0f;
    deformBlended(f.model, f.mesh, 1, &source, &target, &radius2);
    expectAt(f.work(0), 1.9f, 0, -2);
    expectAt(f.work(1), 2.1f, 0, 0);
}

TEST(DeformBlended, WeighsNearerHandlesMore) {
    PointsFixture f({Vec3(0.2f, 0, 0)});
    const Vec3 sources[2] = {Vec3(0, 0, 0), Vec3(1, 0, 0)};
    const Vec3 targets[2] = {Vec3(0, 1, 0), Vec3(1, -1, 0)};
    const float radii2[2] = {4.0f, 4.0f};
    deformBlended(f.model, f.mesh, 2, sources, targets, radii2);
    const float near = wendlandWeight(0.04f / 4.0f), far = wendlandWeight(0.64f / 4.0f);
    EXPECT_NEAR(f.work(0).y, (near - far) / (near + far), 1e-6);
    EXPECT_GT(f.work(0).y, 0.0f);
}

// A count beyond the scratch weights is refused whole: the working shape is the rest shape.
TEST(Deformations, RefuseMoreHandlesThanTheScratchWeightsHold) {
    PointsFixture f({Vec3(0, 0, 0)});
    const std::size_t n = maxDeformHandles + 1;
    std::vector<Vec3> sources(n, Vec3(0, 0, 0)), targets(n, Vec3(1, 0, 0));
    std::vector<float> strengths(n, 1.0f), radii2(n, 1.0f);
    f.model.mesh(f.mesh).prepareWorkBuffers();
    f.model.mesh(f.mesh).workPositions[0].set(7, 7, 7);
    deformWeighted(f.model, f.mesh, static_cast<int>(n), sources.data(), targets.data(), strengths.data(),
                   radii2.data());
    expectAt(f.work(0), 0, 0, 0);
    f.model.mesh(f.mesh).workPositions[0].set(7, 7, 7);
    deformBlended(f.model, f.mesh, static_cast<int>(n), sources.data(), targets.data(), radii2.data());
    expectAt(f.work(0), 0, 0, 0);
    deformWeighted(f.model, f.mesh, -1, sources.data(), targets.data(), strengths.data(), radii2.data());
    expectAt(f.work(0), 0, 0, 0);
}

} // namespace
