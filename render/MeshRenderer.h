#pragma once
// Mesh renderer: draws one MeshObject of a Model with light 0 and up to three passes (base,
// cube-map reflection, extra blended layer), as the mesh's appearance fields ask. The scene sets the camera first; the cone test reads the eye it recorded.
//
// State left behind: modelview selected and restored; lighting, light 0, colour material, depth
// test, face culling, cube-map texturing and texture generation off; 2D texturing on; texture
// environment GL_ADD; depth function GL_LEQUAL. Blending, the blend function, bound textures,
// the current colour, GL_NORMALIZE and light/material parameters stay as the last pass set them.

#include "assets/Model.h"
#include "assets/SceneLight.h"
#include "render/DrawCounts.h"
#include "render/RenderTypes.h"

#include <cstdint>

// Draws mesh `mesh` of the model. geometry other than kRestShape and kWorkingShape draws no
// triangles but sets and restores the same state; so does a mesh whose arrays for the chosen
// shape were never made. A mesh index outside the model draws nothing and changes no state.
// NormalLines::Shown overlays the rest normals as lines after each pass, for looking at a mesh.
void drawObject(Model& model, int mesh, const SceneLight& light, int geometry,
                NormalLines normals = NormalLines::Hidden);

// Draws the meshes listed as one batch per pass instead of one per mesh: for hundreds of small
// meshes (a swarm) the software rasteriser's cost is the number of batches, not the triangles.
// The meshes must share the appearance of the first one listed, which is used for everything but
// placement, scale, colour and texture offsets, which stay each mesh's own; their placement is
// applied on the CPU. Every pass after a mesh's first touches only pixels where that mesh is the
// nearest surface, so passing all meshes through one pass before the next gives the pixels of
// drawing them one by one with drawObject. Indices outside the model and meshes without the
// chosen shape are skipped; an empty list draws nothing and changes no state. State left
// behind: as drawObject.
void drawObjects(Model& model, const int* meshes, int count, const SceneLight& light, int geometry);

// Makes room for batches of up to this many meshes with this many vertices and corners in all
// (start-up, so that no frame grows the buffers).
void reserveObjectBatch(int meshes, int vertices, int corners);
