// The implicit-surface pipeline: distance fields, the polygonizer, welding, decimation, texture
// projections and the edge report they are all judged by.
#include "mesh/Decimate.h"
#include "mesh/Polygonize.h"
#include "mesh/Primitives.h"
#include "mesh/Projection.h"
#include "mesh/Topology.h"
#include "mesh/Weld.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

TEST(MeshDistanceFields, signsAreNegativeInsideAndPositiveOutside) {
    const Sdf box = sdfRoundBox({}, {1, 2, 3}, 0.2);
    EXPECT_LT(box({0.9, 1.9, 0}), 0.0);
    EXPECT_GT(box({1.1, 0, 0}), 0.0);
    EXPECT_NEAR(box({2, 0, 0}), 1.0, 1e-12);
    const Sdf hollow = sdfDifference(sdfSphere({}, 2), sdfSphere({}, 1));
    EXPECT_GT(hollow({0, 0, 0}), 0.0);
    EXPECT_LT(hollow({1.5, 0, 0}), 0.0);
    EXPECT_NEAR(sdfCapsule({0, 0, 0}, {0, 0, 4}, 1)({3, 0, 2}), 2.0, 1e-12);
    EXPECT_NEAR(sdfCylinder({}, {0, 0, 1}, 1)({0, 2, 50}), 1.0, 1e-12);
}

TEST(MeshDistanceFields, smoothUnionFillsTheCreaseBetweenSolids) {
    const Sdf a = sdfSphere({-1, 0, 0}, 1.2), b = sdfSphere({1, 0, 0}, 1.2);
    const Vec3d waist{0, 0.8, 0};
    EXPECT_GT(sdfUnion(a, b)(waist), 0.0);
    EXPECT_LT(sdfSmoothUnion(a, b, 0.6)(waist), 0.0);
    EXPECT_NEAR(smoothMin(1.0, 5.0, 0.5), 1.0, 1e-12); // far apart: a plain minimum
}

TEST(MeshPolygonizer, sphereComesOutClosedOutwardWithTheRightVolume) {
    const Mesh m = polygonize(sdfSphere({0.01, 0.02, 0.03}, 1.0), {{-1.5, -1.5, -1.5}, {1.5, 1.5, 1.5}, 0.1});
    EXPECT_TRUE(inspectEdges(m).closedAndOriented());
    EXPECT_NEAR(signedVolume(m), 4.0 / 3.0 * std::numbers::pi, 0.05);
    for (const Vec3d& p : m.positions) EXPECT_NEAR(length(p - Vec3d{0.01, 0.02, 0.03}), 1.0, 0.01);
}

TEST(MeshPolygonizer, complementedFieldGivesTheSameSurfaceFacingInwards) {
    const Sdf s = sdfSphere({}, 1.0);
    const Mesh m = polygonize(sdfComplement(s), {{-1.5, -1.5, -1.5}, {1.5, 1.5, 1.5}, 0.1});
    // Not closed: the complement's solid reaches the grid's border. Its sphere part faces inwards.
    double volumeSign = 0.0;
    for (std::size_t f = 0; f < m.faceCount(); ++f) {
        const Face& fc = m.faces[f];
        if (length(m.positions[fc[0]]) < 1.1) volumeSign += dot(m.positions[fc[0]], faceNormal(m, f));
    }
    EXPECT_LT(volumeSign, 0.0);
}

TEST(MeshPolygonizer, thinShellWithHolesStaysClosedAndConsistentlyOriented) {
    const Sdf shell = sdfShell(sdfRoundBox({}, {0.7, 0.7, 0.7}, 0.15), 0.1);
    const Sdf drilled = sdfDifference(shell, sdfCylinder({}, {1, 0, 0}, 0.2));
    const Mesh m = polygonize(drilled, {{-0.9, -0.9, -0.9}, {0.9, 0.9, 0.9}, 0.03});
    const EdgeReport r = inspectEdges(m);
    EXPECT_TRUE(r.closedAndOriented()) << r.borderEdges << " border, " << r.flippedEdges << " flipped";
}

TEST(MeshDecimation, reachesTheTargetAndKeepsAClosedShapeClose) {
    Mesh m = polygonize(sdfRoundBox({}, {1, 0.6, 0.4}, 0.2), {{-1.2, -0.8, -0.6}, {1.2, 0.8, 0.6}, 0.04});
    const double volume = signedVolume(m);
    ASSERT_GT(m.faceCount(), 20000u);
    decimate(m, 1500);
    EXPECT_LE(m.faceCount(), 1500u);
    EXPECT_GT(m.faceCount(), 1300u);
    EXPECT_TRUE(inspectEdges(m).closedAndOriented());
    EXPECT_NEAR(signedVolume(m), volume, 0.02 * volume);
}

TEST(MeshDecimation, perforatedShellStaysClosedWhenDecimatedHard) {
    const Sdf shell = sdfShell(sdfRoundBox({}, {0.7, 0.7, 0.7}, 0.15), 0.1);
    Sdf holes = sdfUnion(sdfCylinder({}, {1, 0, 0}, 0.2), sdfCylinder({}, {0, 1, 0}, 0.2));
    holes = sdfUnion(holes, sdfCylinder({}, {0, 0, 1}, 0.2));
    Mesh m = polygonize(sdfSmoothDifference(shell, holes, 0.02), {{-0.9, -0.9, -0.9}, {0.9, 0.9, 0.9}, 0.03});
    decimate(m, 900);
    EXPECT_TRUE(inspectEdges(m).closedAndOriented());
}

TEST(MeshWelding, mergesCoincidentVerticesAndDropsCollapsedFaces) {
    Mesh m;
    m.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 0, 1e-12}, {0, 1, 0}, {1, 1, 0}, {1, 1, 1e-13}};
    m.uvs.resize(m.positions.size());
    m.faces = {{0, 1, 2}, {3, 5, 4}, {5, 6, 4}};
    weldVertices(m, 1e-9);
    EXPECT_EQ(m.vertexCount(), 4u);
    EXPECT_EQ(m.faceCount(), 2u);
    EXPECT_EQ(inspectEdges(m).edges, 5u);
}

TEST(MeshTopology, countsBorderCrowdedAndFlippedEdges) {
    Mesh m;
    m.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    m.uvs.resize(4);
    m.faces = {{0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}};
    EXPECT_TRUE(inspectEdges(m).closedAndOriented());
    m.faces[3] = {1, 3, 2};
    EdgeReport r = inspectEdges(m);
    EXPECT_TRUE(r.closed());
    EXPECT_EQ(r.flippedEdges, 3u);
    m.faces.pop_back();
    EXPECT_EQ(inspectEdges(m).borderEdges, 3u);
    m.faces.push_back({0, 1, 2});
    m.faces.push_back({0, 1, 3});
    EXPECT_GT(inspectEdges(m).crowdedEdges, 0u);
}

TEST(MeshProjection, wrappingProjectionsAreContinuousAcrossTheSeam) {
    Mesh m = uvSphere(1.0, 64, 32);
    projectSpherical(m, {}, 4.0, 2.0);
    for (const Face& f : m.faces) {
        // The poles have no longitude of their own: their fans are exempt.
        if (std::fabs(m.positions[f[0]].z) > 0.999 || std::fabs(m.positions[f[1]].z) > 0.999 ||
            std::fabs(m.positions[f[2]].z) > 0.999)
            continue;
        for (int k = 0; k < 3; ++k) {
            const Vec2d a = m.uvs[f[k]], b = m.uvs[f[(k + 1) % 3]];
            EXPECT_LT(std::fabs(a.x - b.x), 0.5) << "a face stretches across the texture";
        }
    }
    Mesh c = lathe({{1, 0}, {1, 2}}, 32);
    projectCylindrical(c, {}, 1.0, 0.5);
    EXPECT_NEAR(c.uvs[0].x, 0.0, 1e-12);  // angle 0
    EXPECT_NEAR(c.uvs[16].x, 1.0, 1e-12); // angle pi
    EXPECT_NEAR(c.uvs[32].y, 1.0, 1e-12); // height 2
}

TEST(MeshProjection, planarProjectionFollowsItsAxes) {
    Mesh m = gridSheet(1, 1, 0, 2, 2);
    projectPlanar(m, {2, 0, 0}, {0, 0, 1}, 0.5);
    EXPECT_NEAR(m.uvs[2].x, 1.0, 1e-12);
    EXPECT_NEAR(m.uvs[2].y, 0.0, 1e-12);
}
