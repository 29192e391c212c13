#include "anim/CameraFrame.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void expectDirection(const Vec3& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-5f);
    EXPECT_NEAR(v.y, y, 1e-5f);
    EXPECT_NEAR(v.z, z, 1e-5f);
}

void expectOrthonormal(const CameraFrame& c) {
    EXPECT_NEAR(c.forward.lengthSquared(), 1.0f, 1e-5f);
    EXPECT_NEAR(c.up.lengthSquared(), 1.0f, 1e-5f);
    EXPECT_NEAR(c.side.lengthSquared(), 1.0f, 1e-5f);
    EXPECT_NEAR(dot(c.up, c.forward), 0.0f, 1e-5f);
    EXPECT_NEAR(dot(c.side, c.forward), 0.0f, 1e-5f);
    EXPECT_NEAR(dot(c.side, c.up), 0.0f, 1e-5f);
}

TEST(CameraFrameAim, ForwardIsTheUnitDirectionToTheTarget) {
    CameraFrame c;
    c.position.set(0, 5, -25);
    c.aimAt(Vec3(3, 9, -25));
    expectDirection(c.forward, 0.6f, 0.8f, 0.0f);
}

TEST(CameraFrameAim, TargetAtThePositionKeepsTheOldForward) {
    CameraFrame c;
    c.position.set(1, 2, 3);
    c.aimAt(Vec3(4, 2, 3));
    c.aimAt(Vec3(1, 2, 3));
    expectDirection(c.forward, 1, 0, 0);
}

TEST(CameraFrameSquareUp, ForwardAlongZGivesUpMinusYAndSideMinusX) {
    CameraFrame c;
    c.forward.set(0, 0, 1);
    c.up.set(5, 5, 5);
    c.squareUp();
    expectDirection(c.up, 0, -1, 0);
    expectDirection(c.side, -1, 0, 0);
}

TEST(CameraFrameSquareUp, UpIsMinusYWithoutItsForwardPart) {
    const Vec3 targets[] = {{10, 3, 2}, {-4, -7, 1}, {0.5f, 20, -3}, {-2, 0, -9}};
    for (const Vec3& target : targets) {
        CameraFrame c;
        c.position.set(1, 2, 3);
        c.aimAt(target);
        c.squareUp();
        expectOrthonormal(c);
        // up lies in the plane of forward and -y, on the -y side.
        Vec3 normal;
        normal.cross(c.forward, Vec3(0, -1, 0));
        EXPECT_NEAR(dot(c.up, normal), 0.0f, 1e-5f);
        EXPECT_LT(c.up.y, 0.0f);
        // side completes the frame as up x forward.
        Vec3 side;
        side.cross(c.up, c.forward);
        expectDirection(c.side, side.x, side.y, side.z);
    }
}

TEST(CameraFrameSquareUp, LookingStraightDownStillGivesAFrame) {
    CameraFrame c;
    c.position.set(0, 10, 0);
    c.aimAt(Vec3(0, 0, 0));
    c.squareUp();
    expectOrthonormal(c);
    EXPECT_TRUE(std::isfinite(c.up.x) && std::isfinite(c.side.x));
}

} // namespace
