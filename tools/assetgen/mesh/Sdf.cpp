#include "mesh/Sdf.h"

#include <algorithm>
#include <cmath>

double smoothMin(double a, double b, double k) {
    if (k <= 0.0) return std::min(a, b);
    const double h = std::clamp(0.5 + 0.5 * (b - a) / k, 0.0, 1.0);
    return b + (a - b) * h - k * h * (1.0 - h);
}

Sdf sdfSphere(Vec3d centre, double radius) {
    return [=](Vec3d p) { return length(p - centre) - radius; };
}

Sdf sdfRoundBox(Vec3d centre, Vec3d h, double radius) {
    return [=](Vec3d p) {
        const Vec3d d = p - centre;
        const Vec3d q{std::fabs(d.x) - h.x + radius, std::fabs(d.y) - h.y + radius,
                      std::fabs(d.z) - h.z + radius};
        const Vec3d outside{std::max(q.x, 0.0), std::max(q.y, 0.0), std::max(q.z, 0.0)};
        return length(outside) + std::min(std::max(q.x, std::max(q.y, q.z)), 0.0) - radius;
    };
}

Sdf sdfEllipsoid(Vec3d centre, Vec3d r) {
    return [=](Vec3d p) {
        const Vec3d d = p - centre;
        const Vec3d q{d.x / r.x, d.y / r.y, d.z / r.z};
        const double k0 = length(q);
        const double k1 = length(Vec3d{q.x / r.x, q.y / r.y, q.z / r.z});
        return k1 > 0.0 ? k0 * (k0 - 1.0) / k1 : -std::min(r.x, std::min(r.y, r.z));
    };
}

Sdf sdfCapsule(Vec3d a, Vec3d b, double r) {
    return [=](Vec3d p) {
        const Vec3d ab = b - a;
        const double t = std::clamp(dot(p - a, ab) / dot(ab, ab), 0.0, 1.0);
        return length(p - (a + ab * t)) - r;
    };
}

Sdf sdfCylinder(Vec3d point, Vec3d axis, double r) {
    const Vec3d n = normalized(axis);
    return [=](Vec3d p) {
        const Vec3d d = p - point;
        return length(d - n * dot(d, n)) - r;
    };
}

Sdf sdfUnion(Sdf a, Sdf b) {
    return [=](Vec3d p) { return std::min(a(p), b(p)); };
}

Sdf sdfDifference(Sdf a, Sdf b) {
    return [=](Vec3d p) { return std::max(a(p), -b(p)); };
}

Sdf sdfIntersection(Sdf a, Sdf b) {
    return [=](Vec3d p) { return std::max(a(p), b(p)); };
}

Sdf sdfSmoothUnion(Sdf a, Sdf b, double k) {
    return [=](Vec3d p) { return smoothMin(a(p), b(p), k); };
}

Sdf sdfSmoothDifference(Sdf a, Sdf b, double k) {
    return [=](Vec3d p) { return -smoothMin(-a(p), b(p), k); };
}

Sdf sdfComplement(Sdf a) {
    return [=](Vec3d p) { return -a(p); };
}

Sdf sdfShell(Sdf a, double thickness) {
    return [=](Vec3d p) { return std::fabs(a(p)) - thickness * 0.5; };
}

Sdf sdfDisplace(Sdf a, const Noise3& noise, double frequency, double amplitude, int octaves) {
    return [=](Vec3d p) { return a(p) + amplitude * noise.fbm(p * frequency, octaves, 0.5); };
}
