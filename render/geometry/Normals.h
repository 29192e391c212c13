#pragma once
// Normals of a mesh's working shape, recomputed every frame after it is deformed. Both
// operations allocate the working arrays on first use and never write positions.

#include "assets/Model.h"

// faceNormals (unnormalized) and vertexNormals = -normalize(sum of the vertex's face normals).
void computeSmoothNormals(Model& model, int mesh);

// As computeSmoothNormals, but a corner whose vertex joins faces bent away from its own face by
// more than the threshold allows (dot of unit normals below threshold) gets its own normal in
// cornerNormals, summed over the faces that pass, and is marked in cornerFlat. Corners where
// every face passes share vertexNormals. A threshold of -1 keeps every corner smooth.
void computeCreaseNormals(Model& model, int mesh, float threshold);
