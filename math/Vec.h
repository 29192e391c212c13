#pragma once
// Vec3 and Vec4: the value types that carry every position, direction, normal and colour.
// Vec3 is four floats wide (the spare `len` caches the last length) because model and path
// arrays are shared with the renderer in that layout.

#include <cmath>

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float len = 0.0f; // written only by length()

    Vec3() = default;
    constexpr Vec3(float ax, float ay, float az) : x(ax), y(ay), z(az) {}

    void set(float ax, float ay, float az) { x = ax, y = ay, z = az; }
    void copyFrom(const Vec3& o) { x = o.x, y = o.y, z = o.z; }
    void add(const Vec3& o) { x += o.x, y += o.y, z += o.z; }
    void sub(const Vec3& o) { x -= o.x, y -= o.y, z -= o.z; }
    void scale(float s) { x *= s, y *= s, z *= s; }

    void normalize() {
        const float l = std::sqrt(x * x + y * y + z * z);
        x /= l, y /= l, z /= l;
    }
    float length() {
        len = std::sqrt(x * x + y * y + z * z);
        return len;
    }
    float lengthSquared() const { return x * x + y * y + z * z; }
    float dot(const Vec3& o) const { return x * o.x + y * o.y + z * o.z; }

    // Reads both operands before writing, so `this` may alias either.
    void cross(const Vec3& a, const Vec3& b) {
        const float cx = a.y * b.z - a.z * b.y;
        const float cy = a.z * b.x - a.x * b.z;
        const float cz = a.x * b.y - a.y * b.x;
        x = cx, y = cy, z = cz;
    }
    Vec3 minus(Vec3 o) const { return Vec3(x - o.x, y - o.y, z - o.z); }
};
static_assert(sizeof(Vec3) == 4 * sizeof(float), "Vec3 arrays are four floats per element");

inline float dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// out = the projection of b onto the line of a.
inline void project(Vec3& out, const Vec3& a, const Vec3& b) {
    const float k = dot(a, b) / a.lengthSquared();
    out.set(k * a.x, k * a.y, k * a.z);
}

// The rotations turn v by -angle about their axis (they express v in a frame turned by +angle).
inline Vec3& rotateX(Vec3& v, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    const float y = v.y * c + v.z * s;
    const float z = v.z * c - v.y * s;
    v.y = y, v.z = z;
    return v;
}
inline Vec3& rotateY(Vec3& v, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    const float x = v.x * c - v.z * s;
    const float z = v.x * s + v.z * c;
    v.x = x, v.z = z;
    return v;
}
inline Vec3& rotateZ(Vec3& v, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    const float x = v.x * c + v.y * s;
    const float y = v.y * c - v.x * s;
    v.x = x, v.y = y;
    return v;
}

struct Vec4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;

    Vec4() = default;
    Vec4(float ax, float ay, float az, float aw) : x(ax), y(ay), z(az), w(aw) {}

    void set(float ax, float ay, float az, float aw) { x = ax, y = ay, z = az, w = aw; }
    void copyFrom(const Vec4& o) { *this = o; }
    void setFromVec3(const Vec3& v, float aw) { x = v.x, y = v.y, z = v.z, w = aw; }
    void scale(float s) { x *= s, y *= s, z *= s, w *= s; }
    void add(Vec4 o) { x += o.x, y += o.y, z += o.z, w += o.w; }
};
static_assert(sizeof(Vec4) == 4 * sizeof(float));
