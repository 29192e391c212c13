#include "render/Transform.h"

#include "tests/render/GeometryTestMeshes.h"

#include "support/GlTestContext.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>

namespace {

const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

void expectNear(const Vec3& a, const Vec3& b, float tolerance = 1e-4f) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

std::array<GLfloat, 16> modelview() {
    std::array<GLfloat, 16> m{};
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

// One mesh holding the single point p (and no faces).
struct PointModel {
    Model model{4, 512, 512, 256, 128};
    int mesh = 0;
    explicit PointModel(Vec3 p) { mesh = testmesh::add(model, testmesh::Shape{{p}, {}}); }
    MeshObject& o() { return model.mesh(mesh); }
    const Vec3& world() { return o().worldPositions[0]; }
};

using TransformToWorld = GlTest;

TEST_F(TransformToWorld, ScalesThenTranslates) {
    PointModel m(Vec3(1, 1, 1));
    m.o().translation.set(1, 2, 3);
    m.o().scale.set(2, 2, 2);
    transformToWorld(m.model, m.mesh, worldFromRest, true);
    expectNear(m.world(), Vec3(3, 4, 5));
}

// X turns first, then Z, then Y: (0, 1, 0) goes to (0, 0, 1) about X and then to (1, 0, 0)
// about Y; the opposite order would leave it at (0, 0, 1).
TEST_F(TransformToWorld, RotatesAboutXThenZThenY) {
    PointModel m(Vec3(0, 1, 0));
    m.o().rotationX = 1.570795f;
    m.o().rotationY = 1.570795f;
    transformToWorld(m.model, m.mesh, worldFromRest, false);
    expectNear(m.world(), Vec3(1, 0, 0));
    m.o().rotationX = 0.0f;
    m.o().rotationY = 0.0f;
    m.o().rotationZ = 1.570795f;
    transformToWorld(m.model, m.mesh, worldFromRest, false);
    expectNear(m.world(), Vec3(-1, 0, 0));
}

TEST_F(TransformToWorld, UsesTheMatrixWhenEulerIsOff) {
    PointModel m(Vec3(1, 0, 0));
    const float turnAndShift[16] = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1};
    std::copy(turnAndShift, turnAndShift + 16, m.o().matrix);
    m.o().translation.set(100, 100, 100);
    m.o().useEuler = 0;
    transformToWorld(m.model, m.mesh, worldFromRest, false);
    expectNear(m.world(), Vec3(5, 7, 7));
}

TEST_F(TransformToWorld, AppliesTheCallersModelviewAndLeavesItAsItWas) {
    PointModel m(Vec3(1, 0, 0));
    m.o().translation.set(0, 1, 0);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(0.0f, 0.0f, -10.0f);
    const auto before = modelview();
    GLint depthBefore = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    transformToWorld(m.model, m.mesh, worldFromRest, false);
    expectNear(m.world(), Vec3(1, 1, -10));
    EXPECT_EQ(modelview(), before);
    GLint depthAfter = 0, mode = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(depthAfter, depthBefore);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST(TransformToWorldBy, ReadsRestOrWorkingPositionsAndIgnoresOtherSources) {
    PointModel m(Vec3(1, 2, 3));
    transformToWorldBy(m.model, m.mesh, identity, worldFromWorking, false);
    EXPECT_EQ(m.o().workBuffersReady, 1);
    resetWorkPositions(m.model, m.mesh);
    m.o().workPositions[0].set(4, 5, 6);
    transformToWorldBy(m.model, m.mesh, identity, worldFromRest, false);
    expectNear(m.world(), Vec3(1, 2, 3));
    transformToWorldBy(m.model, m.mesh, identity, worldFromWorking, false);
    expectNear(m.world(), Vec3(4, 5, 6));
    transformToWorldBy(m.model, m.mesh, identity, 2, false);
    expectNear(m.world(), Vec3(4, 5, 6));
}

// A slope stretched along x: its normal must stay perpendicular to the stretched surface, which
// transforming the rest normal by the matrix would not give.
TEST(TransformToWorldBy, DerivesNormalsFromTheTransformedShape) {
    Model model(4, 512, 512, 256, 128);
    testmesh::Shape slope;
    slope.vertices = {Vec3(0, 0, 0), Vec3(0, 0, 1), Vec3(1, 1, 0), Vec3(1, 1, 1)};
    slope.faces = {0, 1, 2, 2, 1, 3};
    const int mesh = testmesh::add(model, slope);
    model.mesh(mesh).scale.set(3, 1, 1);
    prepareWorldBuffers(model, mesh);
    transformToWorldBy(model, mesh, identity, worldFromRest, true);
    const MeshObject& o = model.mesh(mesh);
    const Vec3 along = o.worldPositions[2].minus(o.worldPositions[0]);
    for (Vec3 n : o.worldFaceNormals) {
        EXPECT_NEAR(n.length(), 1.0f, 1e-6f);
        EXPECT_NEAR(dot(n, along), 0.0f, 1e-5f);
    }
    for (const Vec3& n : o.worldVertexNormals)
        expectNear(n, Vec3(-o.worldFaceNormals[0].x, -o.worldFaceNormals[0].y, 0));
}

TEST(TransformToWorldBy, LeavesVertexNormalsAloneWhenNotSmooth) {
    Model model(4, 512, 512, 256, 128);
    const int mesh = testmesh::add(model, testmesh::cube(1.0f));
    prepareWorldBuffers(model, mesh);
    model.mesh(mesh).worldVertexNormals[3].set(7, 8, 9);
    transformToWorldBy(model, mesh, identity, worldFromRest, false);
    expectNear(model.mesh(mesh).worldVertexNormals[3], Vec3(7, 8, 9));
    for (Vec3 n : model.mesh(mesh).worldFaceNormals) EXPECT_NEAR(n.length(), 1.0f, 1e-6f);
}

TEST(TransformToWorldBy, MakesTheWorldArraysItFindsMissing) {
    PointModel m(Vec3(1, 2, 3));
    EXPECT_TRUE(m.o().worldPositions.empty());
    transformToWorldBy(m.model, m.mesh, identity, worldFromRest, true);
    ASSERT_EQ(m.o().worldPositions.size(), 1u);
    expectNear(m.world(), Vec3(1, 2, 3));
}

} // namespace
