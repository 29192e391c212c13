#include "render/ShadowVolume.h"

#include "render/Transform.h"

#include "tests/render/GeometryTestMeshes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// A caster prepared and placed in world space with the identity placement.
struct Caster {
    Model model{4, 512, 512, 256, 128};
    int mesh = 0;
    SceneLight light;
    explicit Caster(const testmesh::Shape& shape) {
        mesh = testmesh::add(model, shape);
        prepareShadowCaster(model, mesh);
        resetWorkPositions(model, mesh);
    }
    MeshObject& o() { return model.mesh(mesh); }
    void build(Vec3 lightAt) {
        light.position = lightAt;
        transformToWorldBy(model, mesh, identity, worldFromWorking, true);
        buildShadowVolume(model, mesh, light);
    }
    int lightFacingFaces() {
        int count = 0;
        for (int f = 0; f < o().faceCount; ++f) {
            const Vec3& p = o().worldPositions[static_cast<std::size_t>(
                o().faceIndices[3 * static_cast<std::size_t>(f)])];
            count += dot(p.minus(light.position), o().worldFaceNormals[static_cast<std::size_t>(f)]) < 0.0f;
        }
        return count;
    }
};

Vec3 unitDirection(const Vec3& from, const Vec3& to) {
    Vec3 d = to.minus(from);
    d.normalize();
    return d;
}

void expectSameDirection(const Vec4& v, const Vec3& direction) {
    EXPECT_EQ(v.w, 0.0f);
    Vec3 d(v.x, v.y, v.z);
    d.normalize();
    EXPECT_NEAR(d.x, direction.x, 1e-5f);
    EXPECT_NEAR(d.y, direction.y, 1e-5f);
    EXPECT_NEAR(d.z, direction.z, 1e-5f);
}

TEST(ShadowVolumeBuild, CubeLitFromOneSideHasFourSilhouetteEdges) {
    Caster c(testmesh::cube(1.0f));
    c.build(Vec3(10.0f, 0.3f, -0.2f));
    EXPECT_EQ(c.o().silhouetteCount, 4);
    EXPECT_EQ(c.o().sideQuadCount, 4);
    EXPECT_EQ(c.lightFacingFaces(), 2);
    EXPECT_EQ(c.o().capTriangleCount, 2 * c.lightFacingFaces());
    // The silhouette rings the lit side x = 1.
    for (int k = 0; k < 4; ++k) {
        const ShadowEdge& e = c.o().silhouette[static_cast<std::size_t>(k)];
        EXPECT_EQ(c.o().worldPositions[static_cast<std::size_t>(e.fromVertex)].x, 1.0f);
        EXPECT_EQ(c.o().worldPositions[static_cast<std::size_t>(e.toVertex)].x, 1.0f);
    }
}

TEST(ShadowVolumeBuild, WallsAndFarCapGoToInfinityAwayFromTheLight) {
    Caster c(testmesh::cube(1.0f));
    const Vec3 light(4.0f, 6.0f, 5.0f);
    c.build(light);
    const MeshObject& o = c.o();
    ASSERT_GT(o.sideQuadCount, 0);
    for (int k = 0; k < o.sideQuadCount; ++k) {
        const Vec4* q = &o.sideQuads[4 * static_cast<std::size_t>(k)];
        EXPECT_EQ(q[0].w, 1.0f);
        EXPECT_EQ(q[1].w, 1.0f);
        expectSameDirection(q[2], unitDirection(light, Vec3(q[1].x, q[1].y, q[1].z)));
        expectSameDirection(q[3], unitDirection(light, Vec3(q[0].x, q[0].y, q[0].z)));
    }
    for (int t = 0; t < o.capTriangleCount / 2; ++t) {
        const Vec4* cap = &o.capVertices[6 * static_cast<std::size_t>(t)];
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(cap[k].w, 1.0f);
            expectSameDirection(cap[5 - k], unitDirection(light, Vec3(cap[k].x, cap[k].y, cap[k].z)));
        }
    }
}

// Every wall runs along its edge against the near cap's own order, so the closed volume winds
// one way round: each directed edge of the caps and walls is matched by its reverse.
TEST(ShadowVolumeBuild, VolumeIsClosedAndConsistentlyWound) {
    Caster c(testmesh::lumpyBall(12, 16, 2.0f));
    c.build(Vec3(3.0f, 9.0f, 4.0f));
    const MeshObject& o = c.o();
    ASSERT_GT(o.silhouetteCount, 0);
    // Near-cap edges and the walls' caster edges, as vertex positions.
    std::vector<std::pair<Vec4, Vec4>> directed;
    for (int t = 0; t < o.capTriangleCount / 2; ++t)
        for (int k = 0; k < 3; ++k)
            directed.emplace_back(
                o.capVertices[6 * static_cast<std::size_t>(t) + static_cast<std::size_t>(k)],
                o.capVertices[6 * static_cast<std::size_t>(t) + static_cast<std::size_t>((k + 1) % 3)]);
    for (int k = 0; k < o.sideQuadCount; ++k)
        directed.emplace_back(o.sideQuads[4 * static_cast<std::size_t>(k)],
                              o.sideQuads[4 * static_cast<std::size_t>(k) + 1]);
    auto same = [](const Vec4& a, const Vec4& b) {
        return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w;
    };
    for (const auto& [from, to] : directed) {
        int reversed = 0;
        for (const auto& [a, b] : directed) reversed += same(a, to) && same(b, from);
        EXPECT_EQ(reversed, 1);
    }
}

TEST(ShadowVolumeBuild, OpenTriangleCastsCapsButNoWalls) {
    Caster c(testmesh::Shape{{Vec3(0, 0, 0), Vec3(1, 0, 0), Vec3(0, 0, -1)}, {0, 1, 2}});
    // Corner order (1,0,0) x (0,0,-1) points up: a light above faces it.
    c.build(Vec3(0.2f, 5.0f, -0.2f));
    EXPECT_EQ(c.o().sideQuadCount, 0);
    EXPECT_EQ(c.o().capTriangleCount, 2);
    c.build(Vec3(0.2f, -5.0f, -0.2f));
    EXPECT_EQ(c.o().sideQuadCount, 0);
    EXPECT_EQ(c.o().capTriangleCount, 0);
}

TEST(ShadowVolumeBuild, RebuildsInPlaceEveryFrame) {
    Caster c(testmesh::lumpyBall(12, 16, 2.0f));
    c.build(Vec3(0.0f, 9.0f, 0.0f));
    const Vec4* quads = c.o().sideQuads.data();
    const Vec4* caps = c.o().capVertices.data();
    const ShadowEdge* silhouette = c.o().silhouette.data();
    const int first = c.o().silhouetteCount;
    c.build(Vec3(9.0f, 0.0f, 0.0f));
    c.build(Vec3(0.0f, 9.0f, 0.0f));
    EXPECT_EQ(c.o().silhouetteCount, first);
    EXPECT_EQ(c.o().sideQuads.data(), quads);
    EXPECT_EQ(c.o().capVertices.data(), caps);
    EXPECT_EQ(c.o().silhouette.data(), silhouette);
}

TEST(ShadowVolumeBuild, MeshNeverPreparedAsACasterCastsNothing) {
    Model model(4, 512, 512, 256, 128);
    const int mesh = testmesh::add(model, testmesh::cube(1.0f));
    resetWorkPositions(model, mesh);
    transformToWorldBy(model, mesh, identity, worldFromWorking, true);
    SceneLight light;
    light.position.set(10.0f, 0.0f, 0.0f);
    buildShadowVolume(model, mesh, light);
    EXPECT_EQ(model.mesh(mesh).silhouetteCount, 0);
    EXPECT_EQ(model.mesh(mesh).capTriangleCount, 0);
}

} // namespace
