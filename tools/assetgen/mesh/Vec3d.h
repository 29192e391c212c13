#pragma once
// Double-precision vector for the mesh operators. The generator works in doubles so that
// welding and polygonizing do not depend on float rounding; the 3DS writer narrows at the end.

#include <cmath>

struct Vec3d {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

struct Vec2d {
    double x = 0.0;
    double y = 0.0;
};

inline Vec3d operator+(Vec3d a, Vec3d b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3d operator-(Vec3d a, Vec3d b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3d operator-(Vec3d a) { return {-a.x, -a.y, -a.z}; }
inline Vec3d operator*(Vec3d a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3d operator*(double s, Vec3d a) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3d mul(Vec3d a, Vec3d b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }
inline double dot(Vec3d a, Vec3d b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3d cross(Vec3d a, Vec3d b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(Vec3d a) { return std::sqrt(dot(a, a)); }
inline Vec3d normalized(Vec3d a) {
    const double l = length(a);
    return l > 0.0 ? a * (1.0 / l) : Vec3d{};
}
inline Vec3d lerp(Vec3d a, Vec3d b, double t) { return a + (b - a) * t; }

inline Vec2d operator+(Vec2d a, Vec2d b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2d operator-(Vec2d a, Vec2d b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2d operator*(Vec2d a, double s) { return {a.x * s, a.y * s}; }
inline double length(Vec2d a) { return std::sqrt(a.x * a.x + a.y * a.y); }
