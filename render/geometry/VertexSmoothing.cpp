#include "render/geometry/VertexSmoothing.h"

#include "assets/MeshObject.h"

#include <algorithm>

VertexNeighbours neighboursOf(const MeshObject& o) {
    const auto vertices = static_cast<std::size_t>(std::max(o.vertexCount, 0));
    std::vector<std::vector<int>> around(vertices);
    const std::size_t corners = o.faceIndices.size() - o.faceIndices.size() % 3;
    for (std::size_t f = 0; f < corners; f += 3)
        for (std::size_t a = 0; a < 3; ++a)
            for (std::size_t b = 0; b < 3; ++b) {
                const int from = o.faceIndices[f + a], to = o.faceIndices[f + b];
                if (a != b && from >= 0 && static_cast<std::size_t>(from) < vertices) around[from].push_back(to);
            }
    VertexNeighbours n;
    n.start.reserve(vertices + 1);
    n.start.push_back(0);
    for (std::vector<int>& list : around) {
        std::sort(list.begin(), list.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
        n.list.insert(n.list.end(), list.begin(), list.end());
        n.start.push_back(static_cast<int>(n.list.size()));
    }
    return n;
}

void smoothOverNeighbours(const VertexNeighbours& n, std::vector<float>& values, std::vector<float>& scratch,
                          int passes) {
    const std::size_t vertices = std::min(values.size(), n.start.empty() ? 0 : n.start.size() - 1);
    scratch.resize(values.size());
    for (int p = 0; p < passes; ++p) {
        values.swap(scratch);
        for (std::size_t v = 0; v < vertices; ++v) {
            float sum = scratch[v];
            for (int i = n.start[v]; i < n.start[v + 1]; ++i) sum += scratch[static_cast<std::size_t>(n.list[i])];
            values[v] = sum / static_cast<float>(1 + n.start[v + 1] - n.start[v]);
        }
        for (std::size_t v = vertices; v < values.size(); ++v) values[v] = scratch[v];
    }
}
