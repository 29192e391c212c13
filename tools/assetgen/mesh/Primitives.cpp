#include "mesh/Primitives.h"

#include "mesh/Weld.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

std::uint32_t u32(std::size_t v) { return static_cast<std::uint32_t>(v); }

// Adds the quad a-b-c-d (counter-clockwise seen from outside) as two triangles.
void addQuad(Mesh& m, std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    m.faces.push_back({a, b, c});
    m.faces.push_back({a, c, d});
}

} // namespace

Mesh uvSphere(double radius, int segments, int rings) {
    std::vector<Vec2d> profile;
    for (int r = 0; r <= rings; ++r) {
        const double theta = std::numbers::pi * r / rings - std::numbers::pi / 2;
        profile.push_back({r == 0 || r == rings ? 0.0 : radius * std::cos(theta), radius * std::sin(theta)});
    }
    return lathe(profile, segments);
}

Mesh lathe(const std::vector<Vec2d>& profile, int segments) {
    Mesh m;
    const std::size_t n = profile.size();
    const bool bottomPole = profile.front().x == 0.0;
    const bool topPole = profile.back().x == 0.0;
    // ring[i] holds the first vertex index of profile point i (poles have one vertex).
    std::vector<std::uint32_t> ring(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
        ring[i] = u32(m.positions.size());
        const bool pole = (i == 0 && bottomPole) || (i == n - 1 && topPole);
        const int count = pole ? 1 : segments;
        for (int s = 0; s < count; ++s) {
            const double phi = 2.0 * std::numbers::pi * s / segments;
            m.positions.push_back({profile[i].x * std::cos(phi), profile[i].x * std::sin(phi), profile[i].y});
        }
    }
    m.uvs.assign(m.positions.size(), {});
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const bool lowPole = i == 0 && bottomPole;
        const bool highPole = i + 1 == n - 1 && topPole;
        for (int s = 0; s < segments; ++s) {
            const std::uint32_t s1 = u32((s + 1) % segments);
            const std::uint32_t ss = u32(s);
            if (lowPole)
                m.faces.push_back({ring[i], ring[i + 1] + s1, ring[i + 1] + ss});
            else if (highPole)
                m.faces.push_back({ring[i] + ss, ring[i] + s1, ring[i + 1]});
            else
                addQuad(m, ring[i] + ss, ring[i] + s1, ring[i + 1] + s1, ring[i + 1] + ss);
        }
    }
    return m;
}

Mesh roundedCube(Vec3d h, double radius, int subdivisions) {
    Mesh m;
    // Each cube face: a fixed axis and sign, with the two in-face axes chosen so that the grid's
    // counter-clockwise order looks outward.
    struct Side {
        Vec3d normal, u, v;
    };
    const Side sides[6] = {
        {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
        {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}, {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
        {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}, {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}},
    };
    const int n = subdivisions;
    for (const Side& side : sides) {
        const auto base = u32(m.positions.size());
        for (int j = 0; j <= n; ++j)
            for (int i = 0; i <= n; ++i) {
                const double a = -1.0 + 2.0 * i / n;
                const double b = -1.0 + 2.0 * j / n;
                m.positions.push_back(side.normal + side.u * a + side.v * b);
            }
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                const auto k = base + u32(j * (n + 1) + i);
                addQuad(m, k, k + 1, k + 1 + u32(n + 1), k + u32(n + 1));
            }
    }
    m.uvs.assign(m.positions.size(), {});
    weldVertices(m, 1e-9);
    const Vec3d inner{std::max(h.x - radius, 0.0), std::max(h.y - radius, 0.0), std::max(h.z - radius, 0.0)};
    for (Vec3d& p : m.positions) {
        const Vec3d s = mul(p, h);
        const Vec3d q{std::clamp(s.x, -inner.x, inner.x), std::clamp(s.y, -inner.y, inner.y),
                      std::clamp(s.z, -inner.z, inner.z)};
        p = q + normalized(s - q) * radius;
    }
    return m;
}

Mesh loft(const std::vector<std::vector<Vec3d>>& rings, bool capStart, Vec3d startApex, bool capEnd,
          Vec3d endApex) {
    Mesh m;
    const std::size_t count = rings.front().size();
    for (const auto& r : rings) m.positions.insert(m.positions.end(), r.begin(), r.end());
    for (std::size_t i = 0; i + 1 < rings.size(); ++i)
        for (std::size_t s = 0; s < count; ++s) {
            const std::size_t s1 = (s + 1) % count;
            addQuad(m, u32(i * count + s), u32(i * count + s1), u32((i + 1) * count + s1),
                    u32((i + 1) * count + s));
        }
    if (capStart) {
        const auto apex = u32(m.positions.size());
        m.positions.push_back(startApex);
        for (std::size_t s = 0; s < count; ++s) m.faces.push_back({apex, u32((s + 1) % count), u32(s)});
    }
    if (capEnd) {
        const auto apex = u32(m.positions.size());
        m.positions.push_back(endApex);
        const std::size_t last = (rings.size() - 1) * count;
        for (std::size_t s = 0; s < count; ++s)
            m.faces.push_back({apex, u32(last + s), u32(last + (s + 1) % count)});
    }
    m.uvs.assign(m.positions.size(), {});
    return m;
}

Mesh gridSheet(double halfX, double halfY, double z, int nx, int ny) {
    Mesh m;
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i <= nx; ++i) {
            m.positions.push_back({-halfX + 2.0 * halfX * i / nx, -halfY + 2.0 * halfY * j / ny, z});
            m.uvs.push_back({static_cast<double>(i) / nx, static_cast<double>(j) / ny});
        }
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            const auto k = u32(j * (nx + 1) + i);
            addQuad(m, k, k + 1, k + 1 + u32(nx + 1), k + u32(nx + 1));
        }
    return m;
}
