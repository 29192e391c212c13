#pragma once
// Mesh: an indexed triangle mesh with one texture coordinate per vertex, the value every mesh
// operator takes and returns. Winding convention: a face's corners run counter-clockwise seen
// from the side its normal (b - a) x (c - a) points to.

#include "mesh/Vec3d.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using Face = std::array<std::uint32_t, 3>;

struct Mesh {
    std::vector<Vec3d> positions;
    std::vector<Vec2d> uvs; // same length as positions
    std::vector<Face> faces;

    std::size_t vertexCount() const { return positions.size(); }
    std::size_t faceCount() const { return faces.size(); }
};

struct Bounds {
    Vec3d min{1e300, 1e300, 1e300};
    Vec3d max{-1e300, -1e300, -1e300};
    Vec3d size() const { return max - min; }
    Vec3d centre() const { return (min + max) * 0.5; }
};

// Appends b's vertices and faces to a, re-indexing b's faces.
void appendMesh(Mesh& a, const Mesh& b);

// Reverses every face's corner order (turns normals inside out).
void flipWinding(Mesh& m);

// Applies f to every position.
void transformPositions(Mesh& m, const std::function<Vec3d(Vec3d)>& f);

void translate(Mesh& m, Vec3d offset);
void scale(Mesh& m, Vec3d factors);

// Rotation about the z axis (the file's up axis) by angle radians.
void rotateZ(Mesh& m, double angle);

Bounds boundsOf(const Mesh& m);

// Unnormalised face normal: twice the triangle's area in length.
Vec3d faceNormal(const Mesh& m, std::size_t face);

// Signed volume enclosed by a closed mesh; positive when its normals point outwards.
double signedVolume(const Mesh& m);

double surfaceArea(const Mesh& m);

// Flips the winding when the closed mesh's normals point inwards, so they point outwards.
void orientOutward(Mesh& m);
