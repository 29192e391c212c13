#pragma once
// The CPU side of the stencil shadow volumes: at setup a caster's edges are found once; each
// frame its volume (silhouette walls and caps, the far ones at infinity with w = 0) is rebuilt
// from the world-space copy made by transformToWorld, for ShadowVolume.h to count into the
// stencil.

#include "assets/Model.h"
#include "assets/SceneLight.h"

#include <vector>

// Finds the mesh's edges and sizes its volume arrays and world arrays (zeroed).
void prepareShadowCaster(Model& model, int mesh);

// The distinct edges of a mesh in order of first appearance, faces in order and each face's
// edges as (a, b), (b, c), (c, a). A shared edge records the last other face that uses it.
// Hashed on the unordered vertex pair: linear time.
void findShadowEdges(const MeshObject& o, std::vector<ShadowEdge>& edges);
// The same list by searching every edge found so far for each new one: quadratic, kept as the
// reference the hashed search is checked and measured against.
void findShadowEdgesBySearch(const MeshObject& o, std::vector<ShadowEdge>& edges);

// Rebuilds the silhouette, side quads and caps for the light's position (world space). Uses
// worldPositions and worldFaceNormals as transformToWorld left them. Allocates nothing; a mesh
// that was never prepared as a caster gets an empty volume.
void buildShadowVolume(Model& model, int mesh, const SceneLight& light);
