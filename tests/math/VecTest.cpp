#include "math/Vec.h"

#include <gtest/gtest.h>

namespace {

constexpr float kHalfPi = 1.5707963f;

void expectVec(const Vec3& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-6f);
    EXPECT_NEAR(v.y, y, 1e-6f);
    EXPECT_NEAR(v.z, z, 1e-6f);
}

TEST(Vec3, LengthCachesResultButLengthSquaredDoesNot) {
    Vec3 v(3, 4, 0);
    v.len = -1.0f;
    EXPECT_FLOAT_EQ(v.lengthSquared(), 25.0f);
    EXPECT_FLOAT_EQ(v.len, -1.0f);
    EXPECT_FLOAT_EQ(v.length(), 5.0f);
    EXPECT_FLOAT_EQ(v.len, 5.0f);
}

TEST(Vec3, RotationsTurnByMinusAngle) {
    Vec3 a(1, 0, 0), b(0, 1, 0), c(1, 0, 0);
    expectVec(rotateZ(a, kHalfPi), 0, -1, 0);
    expectVec(rotateX(b, kHalfPi), 0, 0, -1);
    expectVec(rotateY(c, kHalfPi), 0, 0, 1);
}

TEST(Vec3, CrossIsRightHandedAndSafeWhenAliased) {
    Vec3 r;
    r.cross(Vec3(1, 0, 0), Vec3(0, 1, 0));
    expectVec(r, 0, 0, 1);
    Vec3 a(1, 2, 3);
    const Vec3 b(4, 5, 6);
    a.cross(a, b);
    expectVec(a, 2 * 6 - 3 * 5, 3 * 4 - 1 * 6, 1 * 5 - 2 * 4);
}

TEST(Vec3, ProjectOntoLine) {
    Vec3 out;
    project(out, Vec3(1, 1, 0), Vec3(0, -1, 0));
    expectVec(out, -0.5f, -0.5f, 0);
}

TEST(Vec3, MinusLeavesOperandsUnchanged) {
    const Vec3 a(1, 2, 3), b(0.5f, 0.5f, 0.5f);
    expectVec(a.minus(b), 0.5f, 1.5f, 2.5f);
    expectVec(a, 1, 2, 3);
    expectVec(b, 0.5f, 0.5f, 0.5f);
}

TEST(Vec3, CopyFromLeavesCachedLength) {
    Vec3 a(1, 2, 3), b(3, 4, 0);
    b.length();
    a.len = 7.0f;
    b.copyFrom(a);
    expectVec(b, 1, 2, 3);
    EXPECT_FLOAT_EQ(b.len, 5.0f);
}

TEST(Vec3, NormalizeGivesUnitLength) {
    Vec3 v(0, 3, 4);
    v.normalize();
    expectVec(v, 0, 0.6f, 0.8f);
}

TEST(Vec4, ScaleIncludesAlpha) {
    Vec4 c(1, 0.5f, 0.25f, 1);
    c.scale(0.5f);
    EXPECT_FLOAT_EQ(c.x, 0.5f);
    EXPECT_FLOAT_EQ(c.y, 0.25f);
    EXPECT_FLOAT_EQ(c.z, 0.125f);
    EXPECT_FLOAT_EQ(c.w, 0.5f);
}

TEST(Vec4, SetFromVec3TakesW) {
    Vec4 p;
    p.setFromVec3(Vec3(1, 2, 3), 0.0f);
    EXPECT_FLOAT_EQ(p.z, 3.0f);
    EXPECT_FLOAT_EQ(p.w, 0.0f);
}

} // namespace
