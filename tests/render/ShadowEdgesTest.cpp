#include "render/ShadowVolume.h"

#include "tests/assets/ThreeDsWriter.h"
#include "tests/render/GeometryTestMeshes.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

bool sameEdge(const ShadowEdge& a, const ShadowEdge& b) {
    return a.firstFace == b.firstFace && a.users == b.users && a.fromVertex == b.fromVertex &&
           a.toVertex == b.toVertex && (a.users != 2 || a.secondFace == b.secondFace);
}

void expectSameEdgeLists(const MeshObject& o) {
    std::vector<ShadowEdge> hashed, searched;
    findShadowEdges(o, hashed);
    findShadowEdgesBySearch(o, searched);
    ASSERT_EQ(hashed.size(), searched.size());
    for (std::size_t i = 0; i < hashed.size(); ++i)
        ASSERT_TRUE(sameEdge(hashed[i], searched[i])) << "edge " << i << " of " << hashed.size();
}

TEST(ShadowEdges, ClosedTetrahedronHasSixSharedEdges) {
    Model model(4, 512, 512, 256, 128);
    const int mesh = testmesh::add(model, testmesh::tetrahedron());
    prepareShadowCaster(model, mesh);
    const MeshObject& o = model.mesh(mesh);
    EXPECT_EQ(o.edgeCount, 6);
    ASSERT_EQ(o.edges.size(), 6u);
    for (const ShadowEdge& e : o.edges) {
        EXPECT_EQ(e.users, 2);
        EXPECT_NE(e.firstFace, e.secondFace);
    }
}

TEST(ShadowEdges, SingleTriangleHasThreeBorderEdgesInCornerOrder) {
    Model model(4, 512, 512, 256, 128);
    const int mesh =
        testmesh::add(model, testmesh::Shape{{Vec3(0, 0, 0), Vec3(1, 0, 0), Vec3(0, 1, 0)}, {0, 1, 2}});
    prepareShadowCaster(model, mesh);
    const MeshObject& o = model.mesh(mesh);
    ASSERT_EQ(o.edgeCount, 3);
    const int expected[3][2] = {{0, 1}, {1, 2}, {2, 0}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(o.edges[static_cast<std::size_t>(i)].users, 1);
        EXPECT_EQ(o.edges[static_cast<std::size_t>(i)].fromVertex, expected[i][0]);
        EXPECT_EQ(o.edges[static_cast<std::size_t>(i)].toVertex, expected[i][1]);
    }
}

TEST(ShadowEdges, SharedEdgeKeepsTheFirstFacesOrderAndTheLastOtherFace) {
    Model model(4, 512, 512, 256, 128);
    // Three triangles hinged on the edge 0-1, the third with the edge in the first's order.
    testmesh::Shape fan;
    fan.vertices = {Vec3(0, 0, 0), Vec3(1, 0, 0), Vec3(0, 1, 0), Vec3(0, -1, 0), Vec3(0, 0, 1)};
    fan.faces = {0, 1, 2, 1, 0, 3, 0, 1, 4};
    const int mesh = testmesh::add(model, fan);
    prepareShadowCaster(model, mesh);
    const ShadowEdge& hinge = model.mesh(mesh).edges[0];
    EXPECT_EQ(hinge.firstFace, 0);
    EXPECT_EQ(hinge.secondFace, 2);
    EXPECT_EQ(hinge.users, 2);
    EXPECT_EQ(hinge.fromVertex, 0);
    EXPECT_EQ(hinge.toVertex, 1);
    expectSameEdgeLists(model.mesh(mesh));
}

TEST(ShadowEdges, CasterPreparationSizesTheVolumeAndWorldArrays) {
    Model model(4, 512, 512, 256, 128);
    const int mesh = testmesh::add(model, testmesh::cube(1.0f));
    prepareShadowCaster(model, mesh);
    const MeshObject& o = model.mesh(mesh);
    EXPECT_EQ(o.edgeCount, 18);
    EXPECT_EQ(o.silhouette.size(), 18u);
    EXPECT_EQ(o.sideQuads.size(), 4u * 18u);
    EXPECT_EQ(o.capVertices.size(), 6u * 12u);
    EXPECT_EQ(o.worldPositions.size(), 8u);
    EXPECT_EQ(o.worldVertexNormals.size(), 8u);
    EXPECT_EQ(o.worldFaceNormals.size(), 12u);
    EXPECT_EQ(o.silhouetteCount + o.sideQuadCount + o.capTriangleCount, 0);
}

// A sphere written as a 3DS file and read by the loader, as the scenes get their casters: seam
// vertices doubled (border edges), zero-area triangles at the poles.
TEST(ShadowEdges, HashedSearchGivesTheSearchedListOnALoadedMesh) {
    const threeds::Mesh sphere = threeds::sphere(40, 60, 5.0f);
    std::vector<unsigned char> bytes = threeds::file(
        [&](threeds::Writer& w) { w.meshObject("ball", sphere.vertices, sphere.faces, sphere.uvs); });
    Model model(4, 512, 512, 256, 128);
    std::FILE* stream = fmemopen(bytes.data(), bytes.size(), "rb");
    ASSERT_NE(stream, nullptr);
    ASSERT_EQ(model.loadStream(stream, "ball.3ds"), 1);
    std::fclose(stream);
    ASSERT_EQ(model.objectCount, 1);
    const MeshObject& o = model.mesh(0);
    ASSERT_EQ(o.faceCount, 40 * 60 * 2);
    expectSameEdgeLists(o);

    std::vector<ShadowEdge> edges;
    findShadowEdges(o, edges);
    int border = 0;
    for (const ShadowEdge& e : edges) border += e.users == 1;
    EXPECT_GT(border, 0);
    EXPECT_LT(border, static_cast<int>(edges.size()));
}

TEST(ShadowEdges, HashedSearchGivesTheSearchedListOnAClosedMesh) {
    Model model(4, 512, 512, 256, 128);
    const int mesh = testmesh::add(model, testmesh::lumpyBall(30, 48, 3.0f));
    expectSameEdgeLists(model.mesh(mesh));
    prepareShadowCaster(model, mesh);
    const MeshObject& o = model.mesh(mesh);
    EXPECT_EQ(o.edgeCount, o.faceCount * 3 / 2); // closed: every edge shared by two faces
    for (const ShadowEdge& e : o.edges) EXPECT_EQ(e.users, 2);
}

} // namespace
