#include "anim/CameraFrame.h"

namespace {

// Below this squared length a direction is too short to normalize safely.
constexpr float kTinySquared = 1e-20f;

// v with its component along the unit-or-not axis a removed.
Vec3 withoutComponentAlong(const Vec3& v, const Vec3& a) {
    Vec3 along;
    project(along, a, v);
    Vec3 rest = v;
    rest.sub(along);
    return rest;
}

} // namespace

void CameraFrame::aimAt(const Vec3& target) {
    const Vec3 towards = target.minus(position);
    if (towards.lengthSquared() <= kTinySquared) return;
    forward = towards;
    forward.normalize();
}

void CameraFrame::squareUp() {
    up = withoutComponentAlong(Vec3(0.0f, -1.0f, 0.0f), forward);
    // Looking straight up or down leaves nothing of (0, -1, 0); take +z as the reference instead.
    if (up.lengthSquared() <= kTinySquared) up = withoutComponentAlong(Vec3(0.0f, 0.0f, 1.0f), forward);
    up.normalize();
    side.cross(up, forward);
    side.normalize();
}
