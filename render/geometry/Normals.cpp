#include "render/geometry/Normals.h"

#include "render/geometry/NormalsMath.h"

#include <algorithm>
#include <cstddef>

namespace {

// The loader sizes the per-face and per-corner arrays; a mesh built another way gets them here,
// once.
void ensureFaceArrays(MeshObject& o, bool corners) {
    const std::size_t faces = static_cast<std::size_t>(std::max(o.faceCount, 0));
    if (o.faceNormals.size() != faces) o.faceNormals.assign(faces, Vec3());
    if (!corners) return;
    if (o.cornerFlat.size() != 3 * faces) o.cornerFlat.assign(3 * faces, 0);
    if (o.cornerNormals.size() != 3 * faces) o.cornerNormals.assign(3 * faces, Vec3());
}

// n / |n| with the length cached in n.len; zero for a degenerate face, which then compares as
// perpendicular to every face.
Vec3 unitOf(const Vec3& n) {
    if (!(n.len > 0.0f)) return Vec3();
    return Vec3(n.x / n.len, n.y / n.len, n.z / n.len);
}

// Unit face normals for the corner comparisons, each face's taken once rather than once per
// neighbouring corner. Fixed at the largest face count a 3DS mesh holds, so the per-frame path
// never allocates; a larger mesh built in memory normalizes per comparison instead.
constexpr std::size_t maxCachedFaces = 65535;
Vec3 unitFaceNormals[maxCachedFaces];

} // namespace

void computeSmoothNormals(Model& model, int mesh) {
    MeshObject& o = model.mesh(mesh);
    o.prepareWorkBuffers();
    ensureFaceArrays(o, false);
    computeFaceNormals(o, o.workPositions, o.faceNormals);
    sumVertexNormals(o, o.faceNormals, o.vertexNormals);
}

void computeCreaseNormals(Model& model, int mesh, float threshold) {
    MeshObject& o = model.mesh(mesh);
    o.prepareWorkBuffers();
    ensureFaceArrays(o, true);
    computeFaceNormals(o, o.workPositions, o.faceNormals);
    // Every corner compares against the unit normals of its neighbours; each face's length is
    // taken once here and kept in its spare len.
    for (Vec3& n : o.faceNormals) n.length();
    const bool cached = o.faceNormals.size() <= maxCachedFaces;
    if (cached)
        for (std::size_t f = 0; f < o.faceNormals.size(); ++f) unitFaceNormals[f] = unitOf(o.faceNormals[f]);
    auto unitAt = [&](std::size_t f) { return cached ? unitFaceNormals[f] : unitOf(o.faceNormals[f]); };

    const std::size_t faces = std::min(o.faceNormals.size(), o.faceIndices.size() / 3);
    const std::size_t listed = std::min(o.vertexFaces.size(), o.vertexNormals.size());
    for (std::size_t f = 0; f < faces; ++f) {
        const Vec3 nf = unitAt(f);
        for (std::size_t k = 0; k < 3; ++k) {
            const std::size_t corner = 3 * f + k;
            const std::size_t v = static_cast<std::size_t>(o.faceIndices[corner]);
            o.cornerFlat[corner] = 0;
            if (v >= listed) continue;
            const IntList& around = o.vertexFaces[v];
            Vec3 sum;
            int counted = 0;
            for (int j = 0; j < around.count; ++j) {
                const std::size_t g = static_cast<std::size_t>(around.items[j]);
                if (dot(nf, unitAt(g)) >= threshold) {
                    sum.add(o.faceNormals[g]);
                    counted += 1;
                }
            }
            normalizeOrZero(sum);
            const Vec3 n(-sum.x, -sum.y, -sum.z);
            if (counted == around.count) {
                o.vertexNormals[v] = n;
            } else {
                o.cornerFlat[corner] = 1;
                o.cornerNormals[corner] = n;
            }
        }
    }
}
