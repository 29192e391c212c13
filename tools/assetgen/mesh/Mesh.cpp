#include "mesh/Mesh.h"

#include <algorithm>
#include <cmath>

void appendMesh(Mesh& a, const Mesh& b) {
    const auto base = static_cast<std::uint32_t>(a.positions.size());
    a.positions.insert(a.positions.end(), b.positions.begin(), b.positions.end());
    a.uvs.insert(a.uvs.end(), b.uvs.begin(), b.uvs.end());
    a.uvs.resize(a.positions.size());
    for (const Face& f : b.faces) a.faces.push_back({f[0] + base, f[1] + base, f[2] + base});
}

void flipWinding(Mesh& m) {
    for (Face& f : m.faces) std::swap(f[1], f[2]);
}

void transformPositions(Mesh& m, const std::function<Vec3d(Vec3d)>& f) {
    for (Vec3d& p : m.positions) p = f(p);
}

void translate(Mesh& m, Vec3d offset) {
    for (Vec3d& p : m.positions) p = p + offset;
}

void scale(Mesh& m, Vec3d factors) {
    for (Vec3d& p : m.positions) p = mul(p, factors);
    // A mirroring scale would turn the mesh inside out; keep the winding outward.
    if (factors.x * factors.y * factors.z < 0.0) flipWinding(m);
}

void rotateZ(Mesh& m, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    for (Vec3d& p : m.positions) p = {c * p.x - s * p.y, s * p.x + c * p.y, p.z};
}

Bounds boundsOf(const Mesh& m) {
    Bounds b;
    for (const Vec3d& p : m.positions) {
        b.min = {std::min(b.min.x, p.x), std::min(b.min.y, p.y), std::min(b.min.z, p.z)};
        b.max = {std::max(b.max.x, p.x), std::max(b.max.y, p.y), std::max(b.max.z, p.z)};
    }
    return b;
}

Vec3d faceNormal(const Mesh& m, std::size_t face) {
    const Face& f = m.faces[face];
    const Vec3d a = m.positions[f[0]];
    return cross(m.positions[f[1]] - a, m.positions[f[2]] - a);
}

double signedVolume(const Mesh& m) {
    double v = 0.0;
    for (const Face& f : m.faces) v += dot(m.positions[f[0]], cross(m.positions[f[1]], m.positions[f[2]]));
    return v / 6.0;
}

double surfaceArea(const Mesh& m) {
    double a = 0.0;
    for (std::size_t i = 0; i < m.faces.size(); ++i) a += 0.5 * length(faceNormal(m, i));
    return a;
}

void orientOutward(Mesh& m) {
    if (signedVolume(m) < 0.0) flipWinding(m);
}
