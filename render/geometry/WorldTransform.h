#pragma once
// World-space copies of a mesh for the shadow volumes (and for effects that want eye-space
// positions), the reset of the working shape and a mesh's placement as a matrix: the arithmetic,
// with the matrix given, so it runs and is tested without a GL context. transformToWorld
// (Transform.h) does the same with the renderer's current modelview.

#include "assets/Model.h"
#include "math/Mat4.h"

// Which positions transformToWorld carries over.
enum WorldSource : int {
    worldFromRest = 0,    // positions, as loaded
    worldFromWorking = 1, // workPositions, as deformed this frame
};

// Allocates worldPositions, worldVertexNormals (vertexCount each) and worldFaceNormals
// (faceCount), zeroed.
void prepareWorldBuffers(Model& model, int mesh);

// Fills the world arrays with M * (scale * p, 1), M given as 16 floats, column-major. Smooth
// also makes world vertex normals; face normals always come out unit length. A source other
// than 0 or 1 changes nothing.
void transformToWorldBy(Model& model, int mesh, const float* m, int source, bool smooth);

// The mesh's placement as a matrix: translation then the Y, Z and X rotations (useEuler), or its
// own matrix; what the fixed-function renderer multiplies onto GL's modelview.
Mat4 placementOf(const MeshObject& o);

// workPositions = positions, allocating the working arrays on first use.
void resetWorkPositions(Model& model, int mesh);
