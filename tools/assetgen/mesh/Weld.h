#pragma once
// Welding: merges vertices that lie within a tolerance of each other, so faces that met only
// geometrically share indices (what closedness and smooth normals are measured on).

#include "mesh/Mesh.h"

// Merges vertices closer than tolerance (per axis, grid-bucketed), keeping the first vertex's
// texture coordinate, then drops faces that lost a corner to the merge.
void weldVertices(Mesh& m, double tolerance);

// Drops faces that name a vertex twice and vertices that no face uses.
void removeDegenerateFaces(Mesh& m);
void removeUnusedVertices(Mesh& m);
