#pragma once
// Meshes built in memory for the geometry tests and benchmarks, filled the way the 3DS loader
// fills them: positions, faces, each vertex's face list and the per-face and per-corner arrays.

#include "assets/Model.h"

#include <cmath>
#include <memory>
#include <vector>

namespace testmesh {

struct Shape {
    std::vector<Vec3> vertices;
    std::vector<int> faces; // three vertex indices per face
};

// Appends the shape to the model as a new mesh; returns its index.
inline int add(Model& model, const Shape& s) {
    const int index = model.objectCount;
    if (static_cast<std::size_t>(index) >= model.objects.size())
        model.objects.resize(static_cast<std::size_t>(index) + 1);
    model.objects[static_cast<std::size_t>(index)] = std::make_unique<MeshObject>();
    model.objectCount += 1;
    MeshObject& o = model.mesh(index);
    o.vertexCount = static_cast<int>(s.vertices.size());
    o.faceCount = static_cast<int>(s.faces.size() / 3);
    o.positions = s.vertices;
    o.faceIndices = s.faces;
    o.vertexFaces.resize(s.vertices.size());
    for (int f = 0; f < o.faceCount; ++f)
        for (int k = 0; k < 3; ++k) o.vertexFaces[static_cast<std::size_t>(s.faces[3 * f + k])].push(f);
    o.faceNormals.assign(static_cast<std::size_t>(o.faceCount), Vec3());
    o.restFaceNormals.assign(static_cast<std::size_t>(o.faceCount), Vec3());
    o.cornerFlat.assign(3 * static_cast<std::size_t>(o.faceCount), 0);
    o.cornerNormals.assign(3 * static_cast<std::size_t>(o.faceCount), Vec3());
    return index;
}

// The corner-order normal (b - a) x (c - a) of face f.
inline Vec3 cornerOrderNormal(const Shape& s, int f) {
    const Vec3& a = s.vertices[static_cast<std::size_t>(s.faces[3 * f])];
    Vec3 n;
    n.cross(s.vertices[static_cast<std::size_t>(s.faces[3 * f + 1])].minus(a),
            s.vertices[static_cast<std::size_t>(s.faces[3 * f + 2])].minus(a));
    return n;
}

// Winds every face of a shape that is convex about the origin so that its corner-order normal
// points outwards (counter-clockwise seen from outside, GL's front faces).
inline void windOutwards(Shape& s) {
    for (int f = 0; f < static_cast<int>(s.faces.size() / 3); ++f) {
        Vec3 centre;
        for (int k = 0; k < 3; ++k) centre.add(s.vertices[static_cast<std::size_t>(s.faces[3 * f + k])]);
        if (dot(cornerOrderNormal(s, f), centre) < 0.0f) std::swap(s.faces[3 * f + 1], s.faces[3 * f + 2]);
    }
}

// A closed cube of the given half size centred on the origin: 8 shared corners, 12 triangles.
inline Shape cube(float h) {
    Shape s;
    for (int i = 0; i < 8; ++i) s.vertices.emplace_back((i & 1) ? h : -h, (i & 2) ? h : -h, (i & 4) ? h : -h);
    // Two triangles per side, each side given by its four corners in cyclic order.
    const int sides[6][4] = {{0, 2, 6, 4}, {1, 3, 7, 5}, {0, 1, 5, 4},
                             {2, 3, 7, 6}, {0, 1, 3, 2}, {4, 5, 7, 6}};
    for (const auto& q : sides) s.faces.insert(s.faces.end(), {q[0], q[1], q[2], q[0], q[2], q[3]});
    windOutwards(s);
    return s;
}

// A closed tetrahedron, wound outwards.
inline Shape tetrahedron() {
    Shape s;
    s.vertices = {Vec3(1, 1, 1), Vec3(1, -1, -1), Vec3(-1, 1, -1), Vec3(-1, -1, 1)};
    s.faces = {0, 1, 2, 0, 3, 1, 0, 2, 3, 1, 3, 2};
    windOutwards(s);
    return s;
}

// A flat grid of n x n quads (two triangles each) in the plane y = 0 over [0, n] in x and z.
inline Shape grid(int n) {
    Shape s;
    for (int z = 0; z <= n; ++z)
        for (int x = 0; x <= n; ++x)
            s.vertices.emplace_back(static_cast<float>(x), 0.0f, static_cast<float>(z));
    for (int z = 0; z < n; ++z)
        for (int x = 0; x < n; ++x) {
            const int i = z * (n + 1) + x, j = i + n + 1;
            s.faces.insert(s.faces.end(), {i, j, i + 1, i + 1, j, j + 1});
        }
    return s;
}

// A closed lumpy ball: a sphere of rings x segments quads whose seam and poles share their
// vertices (so every edge has two faces), with a radius that wobbles like a modelled surface.
inline Shape lumpyBall(int rings, int segments, float radius) {
    Shape s;
    s.vertices.emplace_back(0.0f, radius, 0.0f);
    for (int r = 1; r < rings; ++r) {
        const float phi = 3.14159265f * static_cast<float>(r) / static_cast<float>(rings);
        for (int k = 0; k < segments; ++k) {
            const float theta = 6.2831853f * static_cast<float>(k) / static_cast<float>(segments);
            const float bump = radius * (1.0f + 0.15f * std::sin(5.0f * theta) * std::sin(3.0f * phi));
            s.vertices.emplace_back(bump * std::sin(phi) * std::cos(theta), bump * std::cos(phi),
                                    bump * std::sin(phi) * std::sin(theta));
        }
    }
    s.vertices.emplace_back(0.0f, -radius, 0.0f);
    const int south = static_cast<int>(s.vertices.size()) - 1;
    auto ring = [&](int r, int k) { return 1 + (r - 1) * segments + (k % segments); };
    for (int k = 0; k < segments; ++k) s.faces.insert(s.faces.end(), {0, ring(1, k), ring(1, k + 1)});
    for (int r = 1; r + 1 < rings; ++r)
        for (int k = 0; k < segments; ++k)
            s.faces.insert(s.faces.end(), {ring(r, k), ring(r + 1, k), ring(r + 1, k + 1), ring(r, k),
                                           ring(r + 1, k + 1), ring(r, k + 1)});
    for (int k = 0; k < segments; ++k)
        s.faces.insert(s.faces.end(), {ring(rings - 1, k), south, ring(rings - 1, k + 1)});
    windOutwards(s);
    return s;
}

} // namespace testmesh
