#pragma once
// Depth-fail stencil shadow volumes from the scene's one point light. At setup a caster's edges
// are found once; each frame its volume (silhouette walls and caps, the far ones at infinity
// with w = 0) is rebuilt on the CPU from the world-space copy made by transformToWorld, and then
// counted into the stencil buffer. The far geometry at infinity needs a projection without a far
// plane (the stretched-depth perspective).
//
// Frame order: draw the scene as it looks in shadow; clear the stencil to 127; with an identity
// modelview, transformToWorld(mesh, 1, true) and buildShadowVolume for each caster; set the camera
// and drawShadowVolume each caster; then draw the lit scene where the stencil is still 127.

#include "assets/Model.h"
#include "assets/SceneLight.h"

#include <vector>

// The stencil value of a pixel that no volume covers.
constexpr int shadowStencilClear = 127;

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

// Counts the volume into the stencil buffer under the current projection and modelview: front
// faces wrap-increment and back faces wrap-decrement where they fail the depth test. Leaves the
// stencil test off (its function GL_EQUAL 127, operations all GL_KEEP), depth test on, depth
// and colour writes on, back-face culling selected.
void drawShadowVolume(Model& model, int mesh);

// Lays black over the whole frame wherever the volumes left a count, whatever the projection;
// every other state stays as it was.
void blackenShadowed();
