#include "render/geometry/ShadowCasting.h"

#include "render/geometry/WorldTransform.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

int faceCountOf(const MeshObject& o) {
    return static_cast<int>(
        std::min(static_cast<std::size_t>(std::max(o.faceCount, 0)), o.faceIndices.size() / 3));
}

// Adds edge (p, q) of face f: shares the existing record at index found, or appends a new one.
void addEdge(std::vector<ShadowEdge>& edges, int found, int f, int p, int q) {
    if (found >= 0) {
        ShadowEdge& e = edges[static_cast<std::size_t>(found)];
        e.secondFace = f;
        e.users = 2;
        return;
    }
    ShadowEdge e;
    e.firstFace = f;
    e.users = 1;
    e.fromVertex = p;
    e.toVertex = q;
    edges.push_back(e);
}

// Open addressing on the unordered vertex pair; the table holds edge indices, -1 when empty.
struct EdgeTable {
    std::vector<std::int64_t> keys;
    std::vector<int> slots;
    std::size_t mask = 0;

    explicit EdgeTable(std::size_t capacity) {
        std::size_t size = 16;
        while (size < 2 * capacity) size *= 2;
        keys.assign(size, -1);
        slots.assign(size, -1);
        mask = size - 1;
    }

    static std::int64_t keyOf(int p, int q) {
        const std::int64_t lo = p < q ? p : q, hi = p < q ? q : p;
        return (hi << 32) | (lo & 0xFFFFFFFF);
    }

    // The slot where key lives or would go.
    std::size_t probe(std::int64_t key) const {
        std::size_t i =
            static_cast<std::size_t>((static_cast<std::uint64_t>(key) * 0x9E3779B97F4A7C15ull) >> 32) & mask;
        while (keys[i] != -1 && keys[i] != key) i = (i + 1) & mask;
        return i;
    }
};

} // namespace

void findShadowEdgesBySearch(const MeshObject& o, std::vector<ShadowEdge>& edges) {
    edges.clear();
    const int faces = faceCountOf(o);
    for (int f = 0; f < faces; ++f) {
        const int* c = &o.faceIndices[3 * static_cast<std::size_t>(f)];
        for (int k = 0; k < 3; ++k) {
            const int p = c[k], q = c[(k + 1) % 3];
            int found = -1;
            for (std::size_t e = 0; e < edges.size(); ++e) {
                const ShadowEdge& s = edges[e];
                if ((s.fromVertex == p && s.toVertex == q) || (s.fromVertex == q && s.toVertex == p)) {
                    found = static_cast<int>(e);
                    break;
                }
            }
            addEdge(edges, found, f, p, q);
        }
    }
}

// Each unordered pair is created once, at its first appearance, and every later appearance
// matches that record: exactly what the first-match linear search finds, in the same order.
void findShadowEdges(const MeshObject& o, std::vector<ShadowEdge>& edges) {
    edges.clear();
    const int faces = faceCountOf(o);
    EdgeTable table(3 * static_cast<std::size_t>(faces));
    for (int f = 0; f < faces; ++f) {
        const int* c = &o.faceIndices[3 * static_cast<std::size_t>(f)];
        for (int k = 0; k < 3; ++k) {
            const int p = c[k], q = c[(k + 1) % 3];
            const std::int64_t key = EdgeTable::keyOf(p, q);
            const std::size_t slot = table.probe(key);
            const int found = table.slots[slot];
            if (found < 0) {
                table.keys[slot] = key;
                table.slots[slot] = static_cast<int>(edges.size());
            }
            addEdge(edges, found, f, p, q);
        }
    }
}

void prepareShadowCaster(Model& model, int mesh) {
    MeshObject& o = model.mesh(mesh);
    findShadowEdges(o, o.edges);
    o.edgeCount = static_cast<int>(o.edges.size());
    const std::size_t edgeCount = o.edges.size();
    const std::size_t faces = static_cast<std::size_t>(std::max(o.faceCount, 0));
    o.silhouette.assign(edgeCount, ShadowEdge());
    o.sideQuads.assign(4 * edgeCount, Vec4());
    o.capVertices.assign(6 * faces, Vec4());
    o.silhouetteCount = 0;
    o.sideQuadCount = 0;
    o.capTriangleCount = 0;
    prepareWorldBuffers(model, mesh);
}
