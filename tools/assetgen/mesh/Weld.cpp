#include "mesh/Weld.h"

#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace {

struct CellKey {
    std::int64_t x = 0, y = 0, z = 0;
    bool operator==(const CellKey& o) const { return x == o.x && y == o.y && z == o.z; }
};

struct CellHash {
    std::size_t operator()(const CellKey& k) const {
        const auto h = static_cast<std::uint64_t>(k.x) * 73856093u ^
                       static_cast<std::uint64_t>(k.y) * 19349663u ^
                       static_cast<std::uint64_t>(k.z) * 83492791u;
        return static_cast<std::size_t>(h);
    }
};

} // namespace

void weldVertices(Mesh& m, double tolerance) {
    const double inv = 1.0 / tolerance;
    std::unordered_multimap<CellKey, std::uint32_t, CellHash> cells;
    std::vector<std::uint32_t> remap(m.positions.size(), 0);
    Mesh out;
    for (std::size_t i = 0; i < m.positions.size(); ++i) {
        const Vec3d p = m.positions[i];
        const CellKey k{static_cast<std::int64_t>(std::floor(p.x * inv)),
                        static_cast<std::int64_t>(std::floor(p.y * inv)),
                        static_cast<std::int64_t>(std::floor(p.z * inv))};
        std::int64_t found = -1;
        for (int dx = -1; dx <= 1 && found < 0; ++dx)
            for (int dy = -1; dy <= 1 && found < 0; ++dy)
                for (int dz = -1; dz <= 1 && found < 0; ++dz) {
                    auto range = cells.equal_range({k.x + dx, k.y + dy, k.z + dz});
                    for (auto it = range.first; it != range.second; ++it) {
                        const Vec3d q = out.positions[it->second];
                        if (std::fabs(q.x - p.x) <= tolerance && std::fabs(q.y - p.y) <= tolerance &&
                            std::fabs(q.z - p.z) <= tolerance) {
                            found = it->second;
                            break;
                        }
                    }
                }
        if (found < 0) {
            found = static_cast<std::int64_t>(out.positions.size());
            out.positions.push_back(p);
            out.uvs.push_back(i < m.uvs.size() ? m.uvs[i] : Vec2d{});
            cells.emplace(k, static_cast<std::uint32_t>(found));
        }
        remap[i] = static_cast<std::uint32_t>(found);
    }
    for (const Face& f : m.faces) out.faces.push_back({remap[f[0]], remap[f[1]], remap[f[2]]});
    m = std::move(out);
    removeDegenerateFaces(m);
}

void removeDegenerateFaces(Mesh& m) {
    std::vector<Face> kept;
    kept.reserve(m.faces.size());
    for (const Face& f : m.faces)
        if (f[0] != f[1] && f[1] != f[2] && f[0] != f[2]) kept.push_back(f);
    m.faces = std::move(kept);
}

void removeUnusedVertices(Mesh& m) {
    constexpr std::uint32_t kUnused = 0xFFFFFFFFu;
    std::vector<std::uint32_t> remap(m.positions.size(), kUnused);
    Mesh out;
    for (Face& f : m.faces)
        for (std::uint32_t& v : f) {
            if (remap[v] == kUnused) {
                remap[v] = static_cast<std::uint32_t>(out.positions.size());
                out.positions.push_back(m.positions[v]);
                out.uvs.push_back(v < m.uvs.size() ? m.uvs[v] : Vec2d{});
            }
            v = remap[v];
        }
    out.faces = std::move(m.faces);
    m = std::move(out);
}
