#pragma once
// The face- and vertex-normal arithmetic shared by the working-shape normals and the world-space
// copies: both derive normals from positions the same way.

#include "assets/MeshObject.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

// Normalizes v; a zero vector (a degenerate face, a vertex no face uses) stays zero instead of
// turning into NaNs that would reach the lighting.
inline void normalizeOrZero(Vec3& v) {
    const float l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (l > 0.0f) v.x /= l, v.y /= l, v.z /= l;
}

// out[f] = (p[b] - p[a]) x (p[c] - p[a]) for every face: unnormalized, twice the face area long.
inline void computeFaceNormals(const MeshObject& o, const std::vector<Vec3>& p, std::vector<Vec3>& out) {
    const std::size_t faces =
        std::min({static_cast<std::size_t>(std::max(o.faceCount, 0)), o.faceIndices.size() / 3, out.size()});
    const int* index = o.faceIndices.data();
    for (std::size_t f = 0; f < faces; ++f, index += 3) {
        const Vec3& a = p[static_cast<std::size_t>(index[0])];
        out[f].cross(p[static_cast<std::size_t>(index[1])].minus(a),
                     p[static_cast<std::size_t>(index[2])].minus(a));
    }
}

// out[v] = -normalize(sum of the face normals of v's faces): larger faces weigh more, and the
// vertex normal points against the corner-order face normal, as the renderer expects.
inline void sumVertexNormals(const MeshObject& o, const std::vector<Vec3>& faceNormals,
                             std::vector<Vec3>& out) {
    const std::size_t vertices = std::min(static_cast<std::size_t>(std::max(o.vertexCount, 0)), out.size());
    const std::size_t listed = std::min(vertices, o.vertexFaces.size());
    for (std::size_t v = 0; v < listed; ++v) {
        const IntList& faces = o.vertexFaces[v];
        Vec3 sum;
        for (int j = 0; j < faces.count; ++j) sum.add(faceNormals[static_cast<std::size_t>(faces.items[j])]);
        normalizeOrZero(sum);
        out[v].set(-sum.x, -sum.y, -sum.z);
    }
    for (std::size_t v = listed; v < vertices; ++v) out[v].set(0.0f, 0.0f, 0.0f);
}
