#pragma once
// World-space copies of a mesh for the shadow volumes (and for effects that want eye-space
// positions), and the reset of the working shape. transformToWorld reads the current GL
// modelview; transformToWorldBy does the same arithmetic with a matrix the caller supplies, so
// the math runs and is tested without a GL context.

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

// Applies the mesh's placement (translation and the Y, Z, X rotations, or its matrix) on top of
// the current modelview, reads the product back as M and fills the world arrays with
// M * (scale * p, 1). Smooth also makes world vertex normals; face normals always come out unit
// length. A source other than 0 or 1 changes nothing. Leaves GL_MODELVIEW current and unchanged.
void transformToWorld(Model& model, int mesh, int source, bool smooth);

// The arithmetic of transformToWorld with M given (16 floats, column-major).
void transformToWorldBy(Model& model, int mesh, const float* m, int source, bool smooth);

// The mesh's placement as a matrix: translation then the Y, Z and X rotations (useEuler), or its
// own matrix; what the fixed-function renderer multiplies onto GL's modelview.
Mat4 placementOf(const MeshObject& o);

// workPositions = positions, allocating the working arrays on first use.
void resetWorkPositions(Model& model, int mesh);
