#pragma once
// The camera record a path flies: where it is, where it looks, and an orthonormal up and side.
// The view transform is built from it elsewhere.

#include "math/Vec.h"

struct CameraFrame {
    Vec3 position;
    Vec3 forward{0.0f, 0.0f, 1.0f}; // unit vector towards the point looked at
    Vec3 up{0.0f, -1.0f, 0.0f};
    Vec3 side{-1.0f, 0.0f, 0.0f};

    // forward = normalize(target - position); a target at the position keeps the old forward.
    void aimAt(const Vec3& target);
    // up = (0, -1, 0) with its forward component removed, side = normalize(up x forward).
    void squareUp();
};
