#pragma once
// Mesh renderer: draws one MeshObject of a Model with the fixed-function pipeline, light 0 and
// up to three passes (base, cube-map reflection, extra blended layer), as the mesh's appearance
// fields ask. The scene sets the camera first; the cone test reads the eye it recorded.
//
// State left behind: modelview selected and restored; lighting, light 0, colour material, depth
// test, face culling, cube-map texturing and texture generation off; 2D texturing on; texture
// environment GL_ADD; depth function GL_LEQUAL. Blending, the blend function, bound textures,
// the current colour, GL_NORMALIZE and light/material parameters stay as the last pass set them.

#include "assets/Model.h"
#include "assets/SceneLight.h"

#include <cstdint>

// What drawObject draws.
inline constexpr int kRestShape = 0;    // positions with restNormals
inline constexpr int kWorkingShape = 1; // workPositions with vertexNormals (cone test if coneCull)

// How a mesh's triangles reach GL: glBegin/glEnd per pass, or indexed client-side arrays built
// once per call. Both send the same corners in the same order and give the same pixels.
enum class MeshSubmission { Immediate, VertexArrays };

// Draws mesh `mesh` of the model. geometry other than kRestShape and kWorkingShape draws no
// triangles but sets and restores the same state; so does a mesh whose arrays for the chosen
// shape were never made. A mesh index outside the model draws nothing and changes no state.
// NormalLines::Shown overlays the rest normals as lines after each pass, for looking at a mesh.
enum class NormalLines { Hidden, Shown };
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

// Cube-map reflection set-up of the reflection passes: cube texturing on with `cubeSlot` bound,
// reflection-map generation of s, t and r, clamped linear sampling, GL_NORMALIZE on.
void applyCubeReflection(int cubeSlot);

// Number of passes drawObject makes for the mesh.
int passCountOf(const MeshObject& mesh);

// Triangles sent by drawObject since the last reset, every pass counted.
std::int64_t drawnTriangles();
void resetDrawnTriangles();

// Triangle batches (one per pass of a drawn mesh) sent by drawObject since the last reset: on the
// software rasteriser each costs a state validation whatever its size, so many small meshes are
// bound by this count rather than by their triangles.
std::int64_t drawnBatches();
void resetDrawnBatches();

// Call style of the triangle emission; vertex arrays unless changed.
void setMeshSubmission(MeshSubmission submission);
MeshSubmission meshSubmission();
