#include "render/geometry/Normals.h"

#include "render/geometry/Deform.h"
#include "render/Transform.h"

#include "tests/render/GeometryTestMeshes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void expectNear(const Vec3& a, const Vec3& b, float tolerance = 1e-5f) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

Vec3 unit(Vec3 v) {
    v.normalize();
    return v;
}

Vec3 negated(const Vec3& v) { return Vec3(-v.x, -v.y, -v.z); }

bool isFinite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

TEST(SmoothNormals, FlatQuadGivesEveryVertexTheUnitNormalAgainstTheCornerOrder) {
    Model model(4, 512, 512, 256, 128);
    const testmesh::Shape quad = testmesh::grid(1);
    const int mesh = testmesh::add(model, quad);
    resetWorkPositions(model, mesh);
    computeSmoothNormals(model, mesh);
    const MeshObject& o = model.mesh(mesh);
    const Vec3 faceDirection = unit(testmesh::cornerOrderNormal(quad, 0));
    for (const Vec3& n : o.vertexNormals) expectNear(n, negated(faceDirection));
}

TEST(SmoothNormals, FaceNormalsAreTwiceTheAreaLongAndFollowTheWorkingShape) {
    Model model(4, 512, 512, 256, 128);
    const int mesh = testmesh::add(model, testmesh::grid(1));
    resetWorkPositions(model, mesh);
    for (Vec3& p : model.mesh(mesh).workPositions) p.scale(3.0f);
    computeSmoothNormals(model, mesh);
    for (Vec3 n : model.mesh(mesh).faceNormals) EXPECT_FLOAT_EQ(n.length(), 2.0f * 4.5f);
}

// A vertex where a large and a small face meet at a right angle leans towards the large one.
TEST(SmoothNormals, LargerFacesWeighMore) {
    Model model(4, 512, 512, 256, 128);
    testmesh::Shape fold;
    fold.vertices = {Vec3(0, 0, 0), Vec3(0, 0, 1), Vec3(4, 0, 0), Vec3(0, 1, 0)};
    fold.faces = {0, 1, 2, 0, 3, 1};
    const int mesh = testmesh::add(model, fold);
    resetWorkPositions(model, mesh);
    computeSmoothNormals(model, mesh);
    const Vec3 n = model.mesh(mesh).vertexNormals[0];
    const Vec3 large = unit(testmesh::cornerOrderNormal(fold, 0)),
               small = unit(testmesh::cornerOrderNormal(fold, 1));
    EXPECT_GT(std::fabs(dot(n, large)), 3.0f * std::fabs(dot(n, small)));
    EXPECT_NEAR(Vec3(n).length(), 1.0f, 1e-6f);
}

TEST(CreaseNormals, CubeAtThreshold07MarksEveryCornerFlatWithItsSideNormal) {
    Model model(4, 512, 512, 256, 128);
    const testmesh::Shape cube = testmesh::cube(1.0f);
    const int mesh = testmesh::add(model, cube);
    resetWorkPositions(model, mesh);
    computeCreaseNormals(model, mesh, 0.7f);
    const MeshObject& o = model.mesh(mesh);
    for (int f = 0; f < o.faceCount; ++f)
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(o.cornerFlat[static_cast<std::size_t>(3 * f + k)], 1) << f << ' ' << k;
            expectNear(o.cornerNormals[static_cast<std::size_t>(3 * f + k)],
                       negated(unit(testmesh::cornerOrderNormal(cube, f))));
        }
}

TEST(CreaseNormals, CubeAtThresholdMinusOneMarksNoCornerAndMatchesSmoothNormals) {
    Model model(4, 512, 512, 256, 128);
    const int mesh = testmesh::add(model, testmesh::cube(1.0f));
    resetWorkPositions(model, mesh);
    computeSmoothNormals(model, mesh);
    const std::vector<Vec3> smooth = model.mesh(mesh).vertexNormals;
    model.mesh(mesh).cornerFlat.assign(model.mesh(mesh).cornerFlat.size(), 1);
    computeCreaseNormals(model, mesh, -1.0f);
    const MeshObject& o = model.mesh(mesh);
    for (std::uint8_t flat : o.cornerFlat) EXPECT_EQ(flat, 0);
    for (std::size_t v = 0; v < smooth.size(); ++v) expectNear(o.vertexNormals[v], smooth[v]);
}

// A shallow roof: the ridge bends by less than the threshold's angle and stays smooth, while a
// stricter threshold splits it.
TEST(CreaseNormals, KeepGentleBendsSmoothAndSplitSharpOnes) {
    Model model(4, 512, 512, 256, 128);
    testmesh::Shape roof;
    roof.vertices = {Vec3(-1, 0, 0), Vec3(0, 0.2f, 0), Vec3(1, 0, 0),
                     Vec3(-1, 0, 1), Vec3(0, 0.2f, 1), Vec3(1, 0, 1)};
    roof.faces = {0, 3, 1, 1, 3, 4, 1, 4, 2, 2, 4, 5};
    const int mesh = testmesh::add(model, roof);
    resetWorkPositions(model, mesh);
    const float bend =
        dot(unit(testmesh::cornerOrderNormal(roof, 0)), unit(testmesh::cornerOrderNormal(roof, 2)));
    computeCreaseNormals(model, mesh, bend - 0.01f);
    for (std::uint8_t flat : model.mesh(mesh).cornerFlat) EXPECT_EQ(flat, 0);
    computeCreaseNormals(model, mesh, bend + 0.01f);
    const MeshObject& o = model.mesh(mesh);
    EXPECT_EQ(o.cornerFlat[2], 1); // vertex 1 on the ridge, seen from the left slope
    EXPECT_EQ(o.cornerFlat[0], 0); // vertex 0 only touches the left slope
    expectNear(o.cornerNormals[2], negated(unit(testmesh::cornerOrderNormal(roof, 0))));
}

TEST(CreaseNormals, FollowTheDeformedShape) {
    Model model(4, 512, 512, 256, 128);
    const int mesh = testmesh::add(model, testmesh::grid(2));
    // Lift the middle vertex into a peak: its four quadrants now bend against each other.
    const Vec3 source(1, 0, 1), target(1, 1, 1);
    const float strength = 1.0f, radius2 = 0.5f;
    deformWeighted(model, mesh, 1, &source, &target, &strength, &radius2);
    computeCreaseNormals(model, mesh, 0.99f);
    const MeshObject& o = model.mesh(mesh);
    int flatAtPeak = 0;
    for (int c = 0; c < 3 * o.faceCount; ++c)
        if (o.faceIndices[static_cast<std::size_t>(c)] == 4)
            flatAtPeak += o.cornerFlat[static_cast<std::size_t>(c)];
    EXPECT_EQ(flatAtPeak, o.vertexFaces[4].count);
    computeCreaseNormals(model, mesh, -1.0f);
    for (std::uint8_t flat : o.cornerFlat) EXPECT_EQ(flat, 0);
}

// A vertex no face uses and a zero-area face have no direction: their normals come out zero,
// never NaN, whatever the threshold.
TEST(Normals, StayFiniteForUnusedVerticesAndDegenerateFaces) {
    Model model(4, 512, 512, 256, 128);
    testmesh::Shape s = testmesh::grid(1);
    s.vertices.emplace_back(9, 9, 9);
    s.faces.insert(s.faces.end(), {1, 1, 2});
    const int mesh = testmesh::add(model, s);
    resetWorkPositions(model, mesh);
    computeSmoothNormals(model, mesh);
    const MeshObject& o = model.mesh(mesh);
    expectNear(o.vertexNormals.back(), Vec3(0, 0, 0));
    for (const Vec3& n : o.vertexNormals) EXPECT_TRUE(isFinite(n));
    for (float threshold : {-1.0f, 0.0f, 0.7f}) {
        computeCreaseNormals(model, mesh, threshold);
        for (const Vec3& n : o.vertexNormals) EXPECT_TRUE(isFinite(n));
        for (const Vec3& n : o.cornerNormals) EXPECT_TRUE(isFinite(n));
    }
}

} // namespace
