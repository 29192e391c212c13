#include "render/geometry/WorldTransform.h"

#include "math/Angles.h"
#include "render/geometry/NormalsMath.h"

#include <algorithm>
#include <cstddef>

void prepareWorldBuffers(Model& model, int mesh) {
    MeshObject& o = model.mesh(mesh);
    const std::size_t vertices = static_cast<std::size_t>(std::max(o.vertexCount, 0));
    const std::size_t faces = static_cast<std::size_t>(std::max(o.faceCount, 0));
    o.worldPositions.assign(vertices, Vec3());
    o.worldVertexNormals.assign(vertices, Vec3());
    o.worldFaceNormals.assign(faces, Vec3());
}

void resetWorkPositions(Model& model, int mesh) { model.resetWorkPositions(mesh); }

namespace {

// The world arrays normally come from prepareWorldBuffers or prepareShadowCaster at setup; a
// mesh that skipped both gets them here once rather than being written out of bounds.
void ensureWorldBuffers(Model& model, int mesh) {
    const MeshObject& o = model.mesh(mesh);
    if (static_cast<int>(o.worldPositions.size()) != o.vertexCount ||
        static_cast<int>(o.worldVertexNormals.size()) != o.vertexCount ||
        static_cast<int>(o.worldFaceNormals.size()) != o.faceCount)
        prepareWorldBuffers(model, mesh);
}

} // namespace

void transformToWorldBy(Model& model, int mesh, const float* m, int source, bool smooth) {
    if (source != worldFromRest && source != worldFromWorking) return;
    MeshObject& o = model.mesh(mesh);
    if (source == worldFromWorking) o.prepareWorkBuffers();
    ensureWorldBuffers(model, mesh);

    const std::vector<Vec3>& from = source == worldFromRest ? o.positions : o.workPositions;
    const int vertexCount = std::min(o.vertexCount, static_cast<int>(from.size()));
    const float sx = o.scale.x, sy = o.scale.y, sz = o.scale.z;
    for (int v = 0; v < vertexCount; ++v) {
        const Vec3& p = from[static_cast<std::size_t>(v)];
        const float x = sx * p.x, y = sy * p.y, z = sz * p.z;
        o.worldPositions[static_cast<std::size_t>(v)].set(m[0] * x + m[4] * y + m[8] * z + m[12],
                                                          m[1] * x + m[5] * y + m[9] * z + m[13],
                                                          m[2] * x + m[6] * y + m[10] * z + m[14]);
    }

    // Normals come from the transformed positions, so a non-uniform scale needs no
    // inverse-transpose.
    computeFaceNormals(o, o.worldPositions, o.worldFaceNormals);
    if (smooth) sumVertexNormals(o, o.worldFaceNormals, o.worldVertexNormals);
    for (Vec3& n : o.worldFaceNormals) normalizeOrZero(n);
}

Mat4 placementOf(const MeshObject& o) {
    if (o.useEuler == 0) return Mat4::fromColumns(o.matrix);
    return translation(o.translation.x, o.translation.y, o.translation.z) *
           rotation(degreesOf(o.rotationY), 0.0f, 1.0f, 0.0f) *
           rotation(degreesOf(o.rotationZ), 0.0f, 0.0f, 1.0f) *
           rotation(degreesOf(o.rotationX), 1.0f, 0.0f, 0.0f);
}
