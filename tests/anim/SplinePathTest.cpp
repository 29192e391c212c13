#include "anim/SplinePath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr float kTwoPi = 6.2831853f;

void expectPoint(const Vec3& v, const Vec3& expected, float tolerance = 1e-4f) {
    EXPECT_NEAR(v.x, expected.x, tolerance);
    EXPECT_NEAR(v.y, expected.y, tolerance);
    EXPECT_NEAR(v.z, expected.z, tolerance);
}

float distance(const Vec3& a, const Vec3& b) { return std::sqrt(a.minus(b).lengthSquared()); }

Vec3 at(SplinePath& path, float t) {
    Vec3 p;
    path.evaluate(p, t);
    return p;
}

SplinePath square(bool normalize) {
    SplinePath path(4, true);
    path.addPoint(0, 0, 0);
    path.addPoint(10, 0, 0);
    path.addPoint(10, 10, 0);
    path.addPoint(0, 10, 0);
    path.build(4.0f, normalize);
    return path;
}

// The closed nine-point camera loop the scenes fly, built the way they build it.
SplinePath cameraLoop() {
    const float p[9][3] = {{-20, 10, 25}, {20, 7, 15},  {-20, 27, 25}, {30, 17, 25}, {-30, 15, 15},
                           {20, -15, 25}, {-30, 12, 5}, {20, 21, 5},   {-14, 32, 25}};
    SplinePath path(100, true);
    for (const auto& q : p) path.addPoint(q[0], q[1], q[2]);
    path.build(29.0f, true);
    return path;
}

// A circle of radius r from four points whose handles give the usual cubic quarter-arcs.
SplinePath circle(float r) {
    SplinePath path(4, true);
    path.addPoint(r, 0, 0);
    path.addPoint(0, r, 0);
    path.addPoint(-r, 0, 0);
    path.addPoint(0, -r, 0);
    path.build(0.5522847f * r, true);
    return path;
}

// Arc length by brute force: many tiny uniform chords.
double sampledLength(SplinePath& path, int samples) {
    double length = 0.0;
    Vec3 prev = at(path, 0.0f);
    for (int i = 1; i <= samples; ++i) {
        const Vec3 p = at(path, static_cast<float>(i) / static_cast<float>(samples));
        length += distance(p, prev);
        prev = p;
    }
    return length;
}

// The chord that reaches t = 1 ends the measure uncounted; it spans less than one initial trial
// step of 1 / (count * 100).
float lastTrialStepChord(SplinePath& path) {
    const float step = 1.0f / static_cast<float>(path.count * 100);
    return distance(at(path, 1.0f - step), at(path, 1.0f));
}

TEST(SplinePathPoints, AddPointBeyondCapacityIsIgnored) {
    SplinePath path(3, false);
    for (int i = 0; i < 5; ++i) path.addPoint(static_cast<float>(i), 0, 0);
    EXPECT_EQ(path.count, 3);
    EXPECT_EQ(path.capacity, 3);
    EXPECT_FLOAT_EQ(path.points[2].x, 2.0f);
}

TEST(SplinePathTangents, InteriorTangentsAreUnhalvedCentralDifferences) {
    SplinePath path(4, false);
    path.addPoint(0, 0, 0);
    path.addPoint(1, 2, 0);
    path.addPoint(4, 2, 1);
    path.addPoint(9, 0, 1);
    path.build(1.0f, false);
    expectPoint(path.tangents[1], Vec3(4, 2, 1));
    expectPoint(path.tangents[2], Vec3(8, -2, 1));
    // Open ends use one-sided differences.
    expectPoint(path.tangents[0], Vec3(1, 2, 0));
    expectPoint(path.tangents[3], Vec3(5, -2, 0));
    EXPECT_FLOAT_EQ(path.tangentLength, 1.0f);
    EXPECT_FALSE(path.normalizeTangents);
}

TEST(SplinePathTangents, ClosedEndsUseTheWrappedNeighbours) {
    const SplinePath path = square(false);
    expectPoint(path.tangents[0], Vec3(10, -10, 0));  // P[1] - P[3]
    expectPoint(path.tangents[3], Vec3(-10, -10, 0)); // P[0] - P[2]
}

TEST(SplinePathTangents, NormalizedTangentsAllHaveTheGivenLength) {
    const SplinePath path = cameraLoop();
    for (int i = 0; i < path.count; ++i)
        EXPECT_NEAR(std::sqrt(path.tangents[i].lengthSquared()), 29.0f, 1e-4f) << i;
    EXPECT_TRUE(path.normalizeTangents);
}

TEST(SplinePathTangents, ZeroDifferenceStaysZeroWhenNormalized) {
    // Two points on a loop: each point's neighbours coincide, so no tangent has a direction.
    SplinePath path(2, true);
    path.addPoint(0, 0, 0);
    path.addPoint(4, 0, 0);
    path.build(3.0f, true);
    EXPECT_EQ(path.tangents[0].lengthSquared(), 0.0f);
    EXPECT_EQ(path.tangents[1].lengthSquared(), 0.0f);
    expectPoint(at(path, 0.25f), Vec3(2, 0, 0));
    EXPECT_NEAR(path.totalLength, 8.0f, 0.04f);
}

TEST(SplinePathEvaluation, ClosedSquarePassesItsCornersAndWraps) {
    SplinePath path = square(true);
    expectPoint(at(path, 0.0f), Vec3(0, 0, 0));
    expectPoint(at(path, 0.25f), Vec3(10, 0, 0));
    expectPoint(at(path, 0.5f), Vec3(10, 10, 0));
    expectPoint(at(path, 0.75f), Vec3(0, 10, 0));
    expectPoint(at(path, 1.0f), Vec3(0, 0, 0));
    expectPoint(at(path, 1.25f), at(path, 0.25f));
    // Every side, the closing one included, bulges out by the same amount at its middle.
    const float bulge = -at(path, 0.125f).y;
    EXPECT_GT(bulge, 0.1f);
    expectPoint(at(path, 0.125f), Vec3(5, -bulge, 0));
    expectPoint(at(path, 0.375f), Vec3(10 + bulge, 5, 0));
    expectPoint(at(path, 0.625f), Vec3(5, 10 + bulge, 0));
    expectPoint(at(path, 0.875f), Vec3(-bulge, 5, 0));
    expectPoint(at(path, 7.4f), at(path, 0.4f), 1e-3f);
}

TEST(SplinePathEvaluation, SegmentIsTheCubicWithTangentHandles) {
    SplinePath path = square(true);
    const float local = 0.3f;
    const Vec3 p = at(path, (1.0f + local) / 4.0f); // inside the segment from P[1] to P[2]
    const Vec3 p1 = path.points[1], p2 = path.points[2];
    Vec3 h1 = p1, h2 = p2;
    h1.add(path.tangents[1]);
    h2.sub(path.tangents[2]);
    expectPoint(path.segP0, p1);
    expectPoint(path.segP1, h1);
    expectPoint(path.segP2, h2);
    expectPoint(path.segP3, p2);
    const float a = 1 - local;
    const Vec3 expected(a * a * a * p1.x + 3 * local * a * a * h1.x + 3 * local * local * a * h2.x +
                            local * local * local * p2.x,
                        a * a * a * p1.y + 3 * local * a * a * h1.y + 3 * local * local * a * h2.y +
                            local * local * local * p2.y,
                        0);
    expectPoint(p, expected);
}

TEST(SplinePathEvaluation, OpenPathOfThreePointsHasItsMiddlePointAtHalf) {
    SplinePath path(3, false);
    path.addPoint(0, 0, 0);
    path.addPoint(5, 3, 1);
    path.addPoint(9, -2, 4);
    path.build(2.0f, true);
    expectPoint(at(path, 0.0f), Vec3(0, 0, 0));
    expectPoint(at(path, 0.5f), Vec3(5, 3, 1));
}

TEST(SplinePathEvaluation, OpenPathEndsAtItsLastPointAndClampsBeyond) {
    SplinePath path(3, false);
    path.addPoint(0, 0, 0);
    path.addPoint(5, 3, 1);
    path.addPoint(9, -2, 4);
    path.build(2.0f, true);
    expectPoint(at(path, 1.0f), Vec3(9, -2, 4));
    expectPoint(at(path, 1.25f), Vec3(9, -2, 4));
    expectPoint(at(path, -0.5f), Vec3(0, 0, 0));
}

TEST(SplinePathEvaluation, NegativeParameterWrapsBackwardsOnALoop) {
    SplinePath path = square(true);
    expectPoint(at(path, -0.75f), at(path, 0.25f));
    expectPoint(at(path, -0.1f), at(path, 0.9f), 1e-3f);
    expectPoint(at(path, -1e-9f), Vec3(0, 0, 0));
}

TEST(SplinePathEvaluation, EmptyAndSinglePointPathsGiveDefinedPoints) {
    SplinePath empty(4, true);
    empty.build(1.0f, true);
    expectPoint(at(empty, 0.3f), Vec3(0, 0, 0));
    SplinePath single(4, false);
    single.addPoint(3, 4, 5);
    single.build(1.0f, true);
    expectPoint(at(single, 0.7f), Vec3(3, 4, 5));
    EXPECT_EQ(single.totalLength, 0.0f);
}

TEST(SplinePathLength, StraightPathMeasuresItsSpanLessTheUncountedLastChord) {
    // Handles of a third of each segment make the curve run straight at an even pace.
    SplinePath path(3, false);
    path.addPoint(0, 0, 0);
    path.addPoint(10, 0, 0);
    path.addPoint(20, 0, 0);
    path.build(10.0f / 3.0f, true);
    // Chords of 1/1200 of the parameter are accepted, so the walk stops within one trial step
    // (1/300) of the end and leaves between 3/1200 and 4/1200 of the span uncounted.
    EXPECT_LE(path.totalLength, 20.0f - 20.0f * 3.0f / 1200.0f + 1e-3f);
    EXPECT_GE(path.totalLength, 20.0f - lastTrialStepChord(path));
}

TEST(SplinePathLength, CircleMeasuresTwoPiRLessTheLastChord) {
    SplinePath path = circle(50.0f);
    const double exact = sampledLength(path, 200000);
    EXPECT_NEAR(exact, kTwoPi * 50.0f, 0.001f * kTwoPi * 50.0f); // the cubic circle is that close
    EXPECT_LT(path.totalLength, exact);
    EXPECT_GT(path.totalLength, exact - lastTrialStepChord(path) - 0.01);
}

TEST(SplinePathLength, RebuildResetsTravelAndRemeasures) {
    SplinePath path(5, true);
    path.addPoint(0, 0, 0);
    path.addPoint(10, 0, 0);
    path.addPoint(10, 10, 0);
    path.build(4.0f, true);
    const float triangle = path.totalLength;
    Vec3 p;
    path.advance(p, 15.0f, 500.0f);
    EXPECT_GT(path.travel, 0.0f);
    path.addPoint(0, 10, 0);
    path.build(4.0f, true);
    EXPECT_EQ(path.travel, 0.0f);
    EXPECT_GT(path.totalLength, triangle);
}

TEST(SplinePathResample, CountRuleTakesTheNextMultipleAbove) {
    EXPECT_EQ(resampleCountFor(37, 5), 40);
    EXPECT_EQ(resampleCountFor(40, 5), 45);
    EXPECT_EQ(resampleCountFor(0, 5), 5);
    EXPECT_EQ(resampleCountFor(176, 9), 180);
}

TEST(SplinePathResample, PlanScalesLengthOverShortestChordByCubeRootOf256n) {
    SplinePath loop = cameraLoop();
    SplinePath shortLoop(5, true); // the scenes' five-point auxiliary path
    shortLoop.addPoint(40, 0, 0);
    shortLoop.addPoint(0, 45, 25);
    shortLoop.addPoint(34, 0, 0);
    shortLoop.addPoint(-20, -35, -25);
    shortLoop.addPoint(20, 20, -25);
    shortLoop.build(15.0f, true);
    for (SplinePath* path : {&loop, &shortLoop}) {
        path->planResample();
        const int n = path->count;
        float shortest = 1e30f;
        for (int i = 1; i < n; ++i)
            shortest = std::fmin(shortest, distance(at(*path, static_cast<float>(i) / (n - 1)),
                                                    at(*path, static_cast<float>(i - 1) / (n - 1))));
        const int m = static_cast<int>(std::cbrt(256.0 * n) * path->totalLength / shortest);
        EXPECT_EQ(path->resampleCount, resampleCountFor(m, n)) << n;
        EXPECT_EQ(path->resampleCount % n, 0);
    }
}

TEST(SplinePathResample, SecondPlanKeepsTheFirst) {
    SplinePath path = cameraLoop();
    path.planResample();
    const int first = path.resampleCount;
    path.addPoint(500, 500, 500);
    path.build(29.0f, true);
    path.planResample();
    EXPECT_EQ(path.resampleCount, first);
}

TEST(SplinePathResample, ResampledPointsLieAtNearEqualSpacing) {
    SplinePath source = cameraLoop();
    source.planResample();
    SplinePath dst(source.resampleCount, true);
    source.resampleInto(dst);
    const float spacing = source.totalLength / static_cast<float>(source.resampleCount);
    EXPECT_NEAR(dst.count, source.resampleCount, 0.02 * source.resampleCount);
    EXPECT_LE(dst.count, dst.capacity);
    // The first new point lies one spacing from the start; the last closes the loop.
    EXPECT_NEAR(distance(dst.points[0], at(source, 0.0f)), spacing, 0.1f + 1e-3f);
    for (int i = 1; i < dst.count - 1; ++i)
        EXPECT_NEAR(distance(dst.points[i], dst.points[i - 1]), spacing, 0.1f + 1e-3f) << i;
    // The last point is taken at t >= 1: back at the start, give or take a chord.
    EXPECT_LT(distance(dst.points[dst.count - 1], at(source, 0.0f)), 2 * spacing);
    EXPECT_NEAR(dst.tangentLength, 9.0f * 29.0f / static_cast<float>(source.resampleCount), 1e-5f);
    EXPECT_TRUE(dst.normalizeTangents);
    EXPECT_NEAR(dst.totalLength, source.totalLength, 0.05f * source.totalLength);
}

TEST(SplinePathResample, ResamplingPlansFirstWhenNotPlanned) {
    SplinePath planned = cameraLoop();
    planned.planResample();
    SplinePath unplanned = cameraLoop();
    SplinePath dst(planned.resampleCount, true);
    unplanned.resampleInto(dst);
    EXPECT_EQ(unplanned.resampleCount, planned.resampleCount);
    EXPECT_GT(dst.count, 0);
}

TEST(SplinePathResample, CoincidentPointsFinishWithAFinitePath) {
    SplinePath path(10, true);
    for (int i = 0; i < 6; ++i) path.addPoint(2, 3, 4);
    path.build(5.0f, true);
    path.planResample();
    EXPECT_LT(path.totalLength, 1e-3f); // rounding of the weights only
    EXPECT_GT(path.resampleCount, 0);
    EXPECT_EQ(path.resampleCount % 6, 0);
    SplinePath dst(path.resampleCount, true);
    path.resampleInto(dst);
    Vec3 p;
    dst.advance(p, 15.0f, 16.0f);
    expectPoint(p, Vec3(2, 3, 4));
}

TEST(SplinePathTraversal, AdvanceMovesTheParameterBySpeedOverLength) {
    SplinePath path = cameraLoop();
    Vec3 p;
    path.advance(p, 15.0f, 1000.0f);
    EXPECT_FLOAT_EQ(path.travel, 15.0f / path.totalLength);
    expectPoint(p, at(path, path.travel));
}

TEST(SplinePathTraversal, PeekLooksAheadWithoutMoving) {
    SplinePath path = cameraLoop();
    Vec3 p;
    path.advance(p, 15.0f, 700.0f);
    const float before = path.travel;
    const float ahead = path.peek(15.0f, 3000.0f);
    EXPECT_EQ(path.travel, before);
    path.advance(p, 15.0f, 3000.0f);
    EXPECT_FLOAT_EQ(path.travel, ahead);
}

TEST(SplinePathTraversal, LoopingPathKeepsCountingAndWraps) {
    SplinePath path = square(true);
    Vec3 p;
    for (int i = 0; i < 100; ++i) path.advance(p, 15.0f, 100.0f);
    EXPECT_NEAR(path.travel, 150.0f / path.totalLength, 1e-4f);
    EXPECT_GT(path.travel, 1.0f);
    expectPoint(p, at(path, path.travel - std::floor(path.travel)), 1e-3f);
}

TEST(SplinePathTraversal, OpenPathStopsAtItsLastPoint) {
    SplinePath path(3, false);
    path.addPoint(0, 0, 0);
    path.addPoint(5, 0, 0);
    path.addPoint(5, 5, 0);
    path.build(2.0f, true);
    Vec3 p;
    path.advance(p, 1000.0f, 1000.0f);
    EXPECT_EQ(path.travel, 1.0f);
    expectPoint(p, Vec3(5, 5, 0));
    EXPECT_EQ(path.peek(15.0f, 1000.0f), 1.0f);
    path.advance(p, -1000.0f, 1000.0f); // run back past the start
    EXPECT_EQ(path.travel, 0.0f);
    expectPoint(p, Vec3(0, 0, 0));
}

TEST(SplinePathTraversal, NegativeDeltaRunsBackOverTheStartOfALoop) {
    SplinePath path = cameraLoop();
    Vec3 p;
    path.advance(p, 15.0f, -1000.0f);
    EXPECT_LT(path.travel, 0.0f);
    expectPoint(p, at(path, path.travel + 1.0f), 1e-3f);
}

// Smallest and largest distance moved per 20 ms frame at 15 units per second over one lap,
// leaving out the closing segment (resampling leaves a remainder there).
struct SpeedRange {
    float slowest = 1e30f;
    float fastest = 0.0f;
};
SpeedRange lapSpeeds(SplinePath& path) {
    SpeedRange range;
    Vec3 prev = at(path, 0.0f), p;
    const float closing = static_cast<float>(path.count - 1) / static_cast<float>(path.count);
    while (path.travel < closing) {
        path.advance(p, 15.0f, 20.0f);
        const float moved = distance(p, prev);
        prev = p;
        if (path.travel >= closing) break;
        range.slowest = std::fmin(range.slowest, moved);
        range.fastest = std::fmax(range.fastest, moved);
    }
    return range;
}

TEST(SplinePathTraversal, ResamplingEvensOutTheSpeed) {
    SplinePath source = cameraLoop();
    source.planResample();
    SplinePath even(source.resampleCount, true);
    source.resampleInto(even);
    const float expected = 15.0f * 20.0f * 0.001f;
    const SpeedRange before = lapSpeeds(source);
    const SpeedRange after = lapSpeeds(even);
    EXPECT_LT(before.slowest, 0.6f * expected); // the raw loop crawls through its short segments
    EXPECT_GT(after.slowest, 0.7f * expected);
    EXPECT_LT(after.fastest, 1.4f * expected);
    EXPECT_LT(after.fastest / after.slowest, 0.75f * before.fastest / before.slowest);
}

} // namespace
