#include "render/geometry/MeshArrays.h"

#include "math/Angles.h"

#include <cmath>

namespace {

// Faces whose first corner lies outside this cone around the view direction are skipped. With
// the 75-degree, 4:3 view the cone (about 56.6 degrees half-angle) encloses the whole frustum.
constexpr float kConeCosine = 0.55f;
constexpr float kConeNearDistance = 0.1f; // faces this close to the eye are always drawn
constexpr float kConeLengthEpsilon = 0.000001f;

MeshArrays gArrays;
MeshBatch gBatch;

bool holds(const std::vector<Vec3>& a, std::size_t n) { return a.size() >= n; }

void putVertex(float* out, float u, float v, const Vec3& n, const Vec3& p, const Vec3& scale) {
    out[0] = u;
    out[1] = v;
    out[2] = -n.x;
    out[3] = -n.y;
    out[4] = -n.z;
    out[5] = p.x * scale.x;
    out[6] = p.y * scale.y;
    out[7] = p.z * scale.z;
}

// The mesh's placement as drawObject applies it (translate, then turn about Y, Z and X with
// glRotatef's degrees, or its matrix): a 3 x 3 column-major rotation and a translation.
struct Placement {
    float r[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    float t[3] = {0, 0, 0};
};

// Column-major 3 x 3 product a * b.
void multiply3(float* out, const float* a, const float* b) {
    float m[9];
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r)
            m[3 * c + r] = a[r] * b[3 * c] + a[3 + r] * b[3 * c + 1] + a[6 + r] * b[3 * c + 2];
    for (int i = 0; i < 9; ++i) out[i] = m[i];
}

// glRotatef's matrix about a unit axis (one of x, y, z) for an angle in degrees.
void axisRotation(float* out, float degrees, int axis) {
    const double radians = static_cast<double>(degrees) * 3.14159265358979323846 / 180.0;
    const float c = static_cast<float>(std::cos(radians)), s = static_cast<float>(std::sin(radians));
    const int a = (axis + 1) % 3, b = (axis + 2) % 3; // the plane turned, in right-handed order
    for (int i = 0; i < 9; ++i) out[i] = 0.0f;
    out[4 * axis] = 1.0f;
    out[3 * a + a] = c;
    out[3 * b + b] = c;
    out[3 * a + b] = s;  // column a, row b
    out[3 * b + a] = -s; // column b, row a
}

Placement placementOf(const MeshObject& o) {
    Placement p;
    if (o.useEuler != 0) {
        p.t[0] = o.translation.x, p.t[1] = o.translation.y, p.t[2] = o.translation.z;
        float turn[9];
        axisRotation(turn, degreesOf(o.rotationY), 1);
        multiply3(p.r, p.r, turn);
        axisRotation(turn, degreesOf(o.rotationZ), 2);
        multiply3(p.r, p.r, turn);
        axisRotation(turn, degreesOf(o.rotationX), 0);
        multiply3(p.r, p.r, turn);
    } else {
        for (int c = 0; c < 3; ++c)
            for (int r = 0; r < 3; ++r) p.r[3 * c + r] = o.matrix[4 * c + r];
        p.t[0] = o.matrix[12], p.t[1] = o.matrix[13], p.t[2] = o.matrix[14];
    }
    return p;
}

void putPlacedVertex(float* out, float u, float v, const Vec3& n, const Vec3& p, const Vec3& scale,
                     const Placement& m) {
    const float px = p.x * scale.x, py = p.y * scale.y, pz = p.z * scale.z;
    out[0] = u;
    out[1] = v;
    // out[2..5], the colour, is filled per pass.
    out[6] = -(m.r[0] * n.x + m.r[3] * n.y + m.r[6] * n.z);
    out[7] = -(m.r[1] * n.x + m.r[4] * n.y + m.r[7] * n.z);
    out[8] = -(m.r[2] * n.x + m.r[5] * n.y + m.r[8] * n.z);
    out[9] = m.r[0] * px + m.r[3] * py + m.r[6] * pz + m.t[0];
    out[10] = m.r[1] * px + m.r[4] * py + m.r[7] * pz + m.t[1];
    out[11] = m.r[2] * px + m.r[5] * py + m.r[8] * pz + m.t[2];
}

// Writes the mesh's vertices from `out` on, `stride` floats apart, through put(out, u, v, normal,
// position), then an index for each corner of each face kept by the view cone, the vertices
// numbered from `first`: a flat corner gets a vertex of its own after the mesh's. Returns the
// faces kept; next and index end past what was written.
template <typename Put>
int gatherFaces(const MeshObject& o, const ShapeSource& s, const ViewCone& cone, float* out, std::size_t stride,
                std::uint32_t first, std::uint32_t*& index, std::uint32_t& next, Put put) {
    const std::size_t vertices = static_cast<std::size_t>(o.vertexCount);
    const float offU = o.texOffsetU, offV = o.texOffsetV;
    for (std::size_t v = 0; v < vertices; ++v, out += stride)
        put(out, o.texU[v] + offU, o.texV[v] + offV, s.normals[v], s.positions[v]);
    next = first + static_cast<std::uint32_t>(vertices);
    const int* faceCorners = o.faceIndices.data();
    int kept = 0;
    for (int f = 0; f < s.faces; ++f) {
        const int* corner = faceCorners + 3 * f;
        if (s.coneTest && !insideCone(cone, s.positions[corner[0]], o.scale)) continue;
        for (int k = 0; k < 3; ++k) {
            const int c = 3 * f + k;
            const int vertex = corner[k];
            if (s.cornerFlat != nullptr && s.cornerFlat[c] != 0) {
                put(out, o.texU[vertex] + offU, o.texV[vertex] + offV, s.cornerNormals[c], s.positions[vertex]);
                out += stride;
                *index++ = next++;
            } else {
                *index++ = first + static_cast<std::uint32_t>(vertex);
            }
        }
        ++kept;
    }
    return kept;
}

// Appends mesh o, placed, to the batch; returns its triangle count.
int gatherPlaced(const MeshObject& o, const ShapeSource& s, const ViewCone& cone, MeshBatch& batch,
                 std::size_t& vertexEnd, std::size_t& indexEnd) {
    const std::size_t vertices = static_cast<std::size_t>(o.vertexCount);
    const std::size_t corners = 3 * static_cast<std::size_t>(s.faces);
    const std::size_t most = kBatchFloatsPerVertex * (vertexEnd + vertices + corners);
    if (batch.vertices.size() < most) batch.vertices.resize(most);
    if (batch.indices.size() < indexEnd + corners) batch.indices.resize(indexEnd + corners);
    const Placement m = placementOf(o);
    std::uint32_t* index = batch.indices.data() + indexEnd;
    std::uint32_t next = 0;
    const int kept = gatherFaces(o, s, cone, batch.vertices.data() + kBatchFloatsPerVertex * vertexEnd,
                                 kBatchFloatsPerVertex, static_cast<std::uint32_t>(vertexEnd), index, next,
                                 [&](float* out, float u, float v, const Vec3& n, const Vec3& p) {
                                     putPlacedVertex(out, u, v, n, p, o.scale, m);
                                 });
    vertexEnd = next;
    indexEnd = static_cast<std::size_t>(index - batch.indices.data());
    return kept;
}

} // namespace

int passCountOf(const MeshObject& mesh) {
    return 1 + (mesh.layered != 0 ? 1 : 0) + (mesh.renderMode == RenderMode::TextureReflect ? 1 : 0);
}

PassScheme schemeOf(const MeshObject& o) {
    if (o.layered != 0)
        return o.renderMode == RenderMode::TextureReflect ? PassScheme::LayeredTextureReflect
                                                          : PassScheme::LayeredOther;
    switch (o.renderMode) {
    case RenderMode::Untextured:
        return PassScheme::Untextured;
    case RenderMode::Reflect:
        return PassScheme::Reflect;
    case RenderMode::TextureReflect:
        return PassScheme::TextureReflect;
    default:
        return PassScheme::Textured; // Textured, and the values no scene sets
    }
}

float passAlpha(const MeshObject& o, int pass) {
    if (o.renderMode == RenderMode::TextureReflect) {
        const int envPass = o.layered != 0 ? 2 : 1; // the one pass that takes envAlpha
        return pass == envPass ? o.envAlpha : o.alpha;
    }
    return o.renderMode == RenderMode::Reflect ? o.envAlpha : o.alpha;
}

float colourFactor(const MeshObject& o, int pass) {
    if (o.layered != 0) return o.renderMode == RenderMode::TextureReflect || pass == 0 ? 1.0f : 2.0f;
    return o.renderMode == RenderMode::TextureReflect ? 2.0f : 4.0f;
}

bool isMeshOf(const Model& model, int mesh) {
    return mesh >= 0 && mesh < model.objectCount && mesh < static_cast<int>(model.objects.size()) &&
           model.objects[static_cast<std::size_t>(mesh)] != nullptr;
}

ShapeSource shapeSource(const MeshObject& o, int geometry) {
    ShapeSource s;
    if (o.vertexCount <= 0 || o.faceCount <= 0) return s;
    const std::size_t vertices = static_cast<std::size_t>(o.vertexCount);
    const std::size_t corners = 3 * static_cast<std::size_t>(o.faceCount);
    if (o.faceIndices.size() < corners || o.texU.size() < vertices || o.texV.size() < vertices) return s;
    const bool cornersMade = o.cornerFlat.size() >= corners && holds(o.cornerNormals, corners);
    if (geometry == kRestShape) {
        if (!holds(o.positions, vertices) || !holds(o.restNormals, vertices)) return s;
        s.positions = o.positions.data();
        s.normals = o.restNormals.data();
        if (o.coneCull != 0 && cornersMade) {
            s.cornerFlat = o.cornerFlat.data();
            s.cornerNormals = o.cornerNormals.data();
        }
    } else if (geometry == kWorkingShape) {
        if (!holds(o.workPositions, vertices) || !holds(o.vertexNormals, vertices)) return s;
        s.positions = o.workPositions.data();
        s.normals = o.vertexNormals.data();
        if (cornersMade) {
            s.cornerFlat = o.cornerFlat.data();
            s.cornerNormals = o.cornerNormals.data();
        }
        s.coneTest = o.coneCull != 0;
    } else {
        return s;
    }
    s.faces = o.faceCount;
    return s;
}

bool insideCone(const ViewCone& cone, const Vec3& p, const Vec3& scale) {
    const float px = p.x * scale.x - cone.eye.x;
    const float py = p.y * scale.y - cone.eye.y;
    const float pz = p.z * scale.z - cone.eye.z;
    const float d = std::sqrt(px * px + py * py + pz * pz);
    const float inv = 1.0f / (d + kConeLengthEpsilon);
    const float c = px * inv * cone.direction.x + py * inv * cone.direction.y + pz * inv * cone.direction.z;
    return c >= kConeCosine || d <= kConeNearDistance;
}

ViewCone viewConeOf(const Model& model) {
    ViewCone cone;
    cone.eye.set(-model.eyePosition.x, -model.eyePosition.y, -model.eyePosition.z);
    cone.direction.set(-model.eyeDirection.x, -model.eyeDirection.y, -model.eyeDirection.z);
    return cone;
}

const Vec3& cornerNormal(const ShapeSource& s, int corner, int vertex) {
    if (s.cornerFlat != nullptr && s.cornerFlat[corner] != 0) return s.cornerNormals[corner];
    return s.normals[vertex];
}

int gatherArrays(const MeshObject& o, const ShapeSource& s, const ViewCone& cone, MeshArrays& out) {
    const std::size_t vertices = static_cast<std::size_t>(o.vertexCount);
    const std::size_t corners = 3 * static_cast<std::size_t>(s.faces);
    const std::size_t most = kMeshFloatsPerVertex * (vertices + corners);
    if (out.vertices.size() < most) out.vertices.resize(most);
    if (out.indices.size() < corners) out.indices.resize(corners);
    std::uint32_t* index = out.indices.data();
    std::uint32_t next = 0;
    const int kept = gatherFaces(o, s, cone, out.vertices.data(), kMeshFloatsPerVertex, 0, index, next,
                                 [&](float* at, float u, float v, const Vec3& n, const Vec3& p) {
                                     putVertex(at, u, v, n, p, o.scale);
                                 });
    out.vertexCount = next;
    return kept;
}

int gatherBatch(const Model& model, const int* meshes, int count, int geometry, MeshBatch& out, int& lead) {
    lead = -1;
    out.meshes.clear(); // keeps its capacity
    const ViewCone cone = viewConeOf(model);
    std::size_t vertexEnd = 0, indexEnd = 0;
    int triangles = 0;
    for (int i = 0; i < count; ++i) {
        if (!isMeshOf(model, meshes[i])) continue;
        if (lead < 0) lead = meshes[i];
        const MeshObject& o = model.mesh(meshes[i]);
        const ShapeSource source = shapeSource(o, geometry);
        if (source.faces == 0) continue;
        const std::size_t first = vertexEnd;
        triangles += gatherPlaced(o, source, cone, out, vertexEnd, indexEnd);
        out.meshes.push_back({first, vertexEnd - first, o.colour});
    }
    out.vertexCount = vertexEnd;
    return triangles;
}

// Each mesh's colour times the pass's factor, with the pass's vertex alpha.
void fillBatchColours(MeshBatch& batch, float k, float alpha) {
    for (const BatchMesh& b : batch.meshes) {
        float* out = batch.vertices.data() + kBatchFloatsPerVertex * b.firstVertex + 2;
        for (std::size_t v = 0; v < b.vertexCount; ++v, out += kBatchFloatsPerVertex) {
            out[0] = b.colour.x * k;
            out[1] = b.colour.y * k;
            out[2] = b.colour.z * k;
            out[3] = alpha;
        }
    }
}

MeshArrays& sharedMeshArrays() { return gArrays; }

MeshBatch& sharedMeshBatch() { return gBatch; }
