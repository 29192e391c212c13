#include "render/geometry/ShadowCasting.h"

#include <cstddef>

namespace {

// The arrays prepareShadowCaster sizes, checked against the mesh so a caster that was never
// prepared (or whose world copy is missing) casts nothing instead of writing out of bounds.
bool volumeArraysFit(const MeshObject& o) {
    const std::size_t vertices = static_cast<std::size_t>(o.vertexCount);
    const std::size_t faces = static_cast<std::size_t>(o.faceCount);
    return o.vertexCount >= 0 && o.faceCount >= 0 && o.edgeCount == static_cast<int>(o.edges.size()) &&
           o.silhouette.size() >= o.edges.size() && o.sideQuads.size() >= 4 * o.edges.size() &&
           o.capVertices.size() >= 6 * faces && o.faceIndices.size() >= 3 * faces &&
           o.worldPositions.size() >= vertices && o.worldFaceNormals.size() >= faces;
}

Vec4 atInfinity(const Vec3& p, const Vec3& light) {
    return Vec4(p.x - light.x, p.y - light.y, p.z - light.z, 0.0f);
}
Vec4 atPoint(const Vec3& p) { return Vec4(p.x, p.y, p.z, 1.0f); }

} // namespace

void buildShadowVolume(Model& model, int mesh, const SceneLight& light) {
    MeshObject& o = model.mesh(mesh);
    o.silhouetteCount = 0;
    o.sideQuadCount = 0;
    o.capTriangleCount = 0;
    if (!volumeArraysFit(o)) return;

    const Vec3& l = light.position;
    const Vec3* x = o.worldPositions.data();
    const Vec3* n = o.worldFaceNormals.data();

    // Silhouette: shared edges whose two faces lie on opposite sides of the light. A face seen
    // edge-on (a zero product) does not count, and border edges never cast walls.
    int found = 0;
    for (const ShadowEdge& e : o.edges) {
        if (e.users != 2) continue;
        const Vec3& a = x[e.fromVertex];
        const Vec3& b = x[e.toVertex];
        const Vec3 m(0.5f * (a.x + b.x) - l.x, 0.5f * (a.y + b.y) - l.y, 0.5f * (a.z + b.z) - l.z);
        const float dA = dot(m, n[e.firstFace]);
        const float dB = dot(m, n[e.secondFace]);
        // The signs, not the product, so that two tiny values cannot underflow to zero.
        if (!((dA < 0.0f && dB > 0.0f) || (dA > 0.0f && dB < 0.0f))) continue;
        ShadowEdge& s = o.silhouette[static_cast<std::size_t>(found++)];
        s = e;
        s.flip = dA >= 0.0f ? 1 : 0;
    }
    o.silhouetteCount = found;

    // Side walls run along the edge against the corner order of the light-facing face (the near
    // cap), so walls and caps wind the same way round the closed volume.
    Vec4* quad = o.sideQuads.data();
    for (int k = 0; k < found; ++k, quad += 4) {
        const ShadowEdge& s = o.silhouette[static_cast<std::size_t>(k)];
        const Vec3& a = x[s.flip != 0 ? s.fromVertex : s.toVertex];
        const Vec3& b = x[s.flip != 0 ? s.toVertex : s.fromVertex];
        quad[0] = atPoint(a);
        quad[1] = atPoint(b);
        quad[2] = atInfinity(b, l);
        quad[3] = atInfinity(a, l);
    }
    o.sideQuadCount = found;

    // Caps: every light-facing face closes the volume near, and again at infinity reversed.
    Vec4* cap = o.capVertices.data();
    int triangles = 0;
    const int* corners = o.faceIndices.data();
    for (int f = 0; f < o.faceCount; ++f, corners += 3) {
        const Vec3& p0 = x[corners[0]];
        const Vec3& p1 = x[corners[1]];
        const Vec3& p2 = x[corners[2]];
        if (!(dot(p0.minus(l), n[f]) < 0.0f)) continue;
        cap[0] = atPoint(p0);
        cap[1] = atPoint(p1);
        cap[2] = atPoint(p2);
        cap[3] = atInfinity(p2, l);
        cap[4] = atInfinity(p1, l);
        cap[5] = atInfinity(p0, l);
        cap += 6;
        triangles += 2;
    }
    o.capTriangleCount = triangles;
}
