#include "mesh/Polygonize.h"

#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace {

// Corner c of a cube has offsets (c & 1, (c >> 1) & 1, (c >> 2) & 1). The six tetrahedra of the
// Kuhn split all contain the diagonal from corner 0 to corner 7.
constexpr int kTetrahedra[6][4] = {{0, 1, 3, 7}, {0, 1, 5, 7}, {0, 2, 3, 7},
                                   {0, 2, 6, 7}, {0, 4, 5, 7}, {0, 4, 6, 7}};

} // namespace

Mesh polygonize(const Sdf& field, const PolygonizeGrid& grid) {
    const int nx = static_cast<int>(std::ceil((grid.max.x - grid.min.x) / grid.cell)) + 1;
    const int ny = static_cast<int>(std::ceil((grid.max.y - grid.min.y) / grid.cell)) + 1;
    const int nz = static_cast<int>(std::ceil((grid.max.z - grid.min.z) / grid.cell)) + 1;
    auto pointAt = [&](int i, int j, int k) {
        return Vec3d{grid.min.x + i * grid.cell, grid.min.y + j * grid.cell, grid.min.z + k * grid.cell};
    };
    auto indexOf = [&](int i, int j, int k) {
        return static_cast<std::int64_t>(k) * nx * ny + static_cast<std::int64_t>(j) * nx + i;
    };
    std::vector<double> values(static_cast<std::size_t>(nx) * ny * nz, 0.0);
    for (int k = 0; k < nz; ++k)
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) {
                double v = field(pointAt(i, j, k));
                // A value of exactly zero would put a vertex on a grid point shared by many edges;
                // nudging it keeps every surface vertex strictly inside one edge.
                if (v == 0.0) v = 1e-12;
                values[static_cast<std::size_t>(indexOf(i, j, k))] = v;
            }

    Mesh m;
    std::unordered_map<std::uint64_t, std::uint32_t> edgeVertex;
    // Every tetrahedron edge joins a cube corner to one whose offset bits are a superset, so the
    // lower grid point and the bit difference name the edge exactly.
    auto vertexOn = [&](std::int64_t lowId, std::int64_t highId, int bits, Vec3d pa, Vec3d pb) {
        const std::uint64_t key = static_cast<std::uint64_t>(lowId) * 8u + static_cast<std::uint64_t>(bits);
        auto it = edgeVertex.find(key);
        if (it != edgeVertex.end()) return it->second;
        const double va = values[static_cast<std::size_t>(lowId)];
        const double vb = values[static_cast<std::size_t>(highId)];
        const double t = va / (va - vb);
        const auto index = static_cast<std::uint32_t>(m.positions.size());
        m.positions.push_back(lerp(pa, pb, t));
        edgeVertex.emplace(key, index);
        return index;
    };
    // Orientation is decided on the triangle through the edges' midpoints rather than the
    // interpolated points: the latter can be slivers of arbitrary facing when the surface passes
    // close to a grid point, the former never are, and they share the topology.
    struct Corner {
        std::uint32_t index;
        Vec3d mid;
    };
    auto emit = [&](Corner a, Corner b, Corner c, Vec3d outside) {
        const Vec3d n = cross(b.mid - a.mid, c.mid - a.mid);
        if (dot(n, outside - a.mid) < 0.0) std::swap(b, c);
        m.faces.push_back({a.index, b.index, c.index});
    };

    for (int k = 0; k + 1 < nz; ++k)
        for (int j = 0; j + 1 < ny; ++j)
            for (int i = 0; i + 1 < nx; ++i) {
                std::int64_t id[8];
                Vec3d p[8];
                int inside = 0;
                for (int c = 0; c < 8; ++c) {
                    const int ci = i + (c & 1), cj = j + ((c >> 1) & 1), ck = k + ((c >> 2) & 1);
                    id[c] = indexOf(ci, cj, ck);
                    p[c] = pointAt(ci, cj, ck);
                    if (values[static_cast<std::size_t>(id[c])] < 0.0) ++inside;
                }
                if (inside == 0 || inside == 8) continue;
                for (const auto& tet : kTetrahedra) {
                    int in[4], out[4], ni = 0, no = 0;
                    for (int c : tet)
                        (values[static_cast<std::size_t>(id[c])] < 0.0 ? in[ni++] : out[no++]) = c;
                    if (ni == 0 || no == 0) continue;
                    auto v = [&](int a, int b) {
                        if (a > b) std::swap(a, b);
                        return Corner{vertexOn(id[a], id[b], a ^ b, p[a], p[b]), (p[a] + p[b]) * 0.5};
                    };
                    if (ni == 1) {
                        emit(v(in[0], out[0]), v(in[0], out[1]), v(in[0], out[2]), p[out[0]]);
                    } else if (no == 1) {
                        emit(v(out[0], in[0]), v(out[0], in[1]), v(out[0], in[2]), p[out[0]]);
                    } else {
                        // Two in, two out: the cut is a quad a-b-d-c.
                        const Corner a = v(in[0], out[0]), b = v(in[0], out[1]);
                        const Corner c = v(in[1], out[0]), d = v(in[1], out[1]);
                        const Vec3d o = (p[out[0]] + p[out[1]]) * 0.5;
                        emit(a, b, d, o);
                        emit(a, d, c, o);
                    }
                }
            }
    m.uvs.assign(m.positions.size(), {});
    return m;
}
