#pragma once
// What the mesh renderer works out the same way for both renderers: the passes a mesh takes and
// the colour and alpha of each, which arrays a draw reads, the view-cone test, and the vertex
// arrays of one mesh or of a batch of meshes, built once per draw and read by every pass. The
// arrays grow only when a larger draw than any before comes (the warm-up renders).

#include "assets/Model.h"
#include "render/RenderTypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Layered meshes get a darker ambient because the extra pass adds light on top.
inline constexpr float kLayeredAmbientScale = 0.33f;

// Which row set of the pass table a mesh uses.
enum class PassScheme { LayeredTextureReflect, LayeredOther, Untextured, Textured, Reflect, TextureReflect };

PassScheme schemeOf(const MeshObject& o);
// Number of passes drawObject makes for the mesh.
int passCountOf(const MeshObject& mesh);
// The vertex alpha of a pass: alpha, or envAlpha on the pass that takes it.
float passAlpha(const MeshObject& o, int pass);
// What the mesh's colour is multiplied by in a pass.
float colourFactor(const MeshObject& o, int pass);

// A mesh index that names a mesh of the model.
bool isMeshOf(const Model& model, int mesh);

// The arrays one draw reads, chosen by geometry and coneCull. Empty (faces == 0) when the
// shape is not drawable: an unknown geometry or arrays that were never made.
struct ShapeSource {
    const Vec3* positions = nullptr;
    const Vec3* normals = nullptr;
    const std::uint8_t* cornerFlat = nullptr; // null: every corner takes its vertex normal
    const Vec3* cornerNormals = nullptr;
    bool coneTest = false;
    int faces = 0;
};
ShapeSource shapeSource(const MeshObject& o, int geometry);

// The cone test of one face, from its first corner. The mesh's placement is not applied: the
// meshes that use it sit at the origin.
struct ViewCone {
    Vec3 eye;       // GL eye point, the negated recorded position
    Vec3 direction; // GL viewing direction
};
ViewCone viewConeOf(const Model& model);
bool insideCone(const ViewCone& cone, const Vec3& p, const Vec3& scale);

// The normal of a face's corner: its own where the corner is flat, else its vertex's.
const Vec3& cornerNormal(const ShapeSource& s, int corner, int vertex);

// One mesh as indexed arrays: T2F_N3F_V3F per vertex (normals negated, positions scaled, texture
// offsets added) plus one per flat corner, which has its own normal; the kept faces' corners as
// indices. Shared vertices are sent, and lit, once.
struct MeshArrays {
    std::vector<float> vertices;
    std::vector<std::uint32_t> indices;
    std::size_t vertexCount = 0; // of the last gathering
};
inline constexpr std::size_t kMeshFloatsPerVertex = 8;
// Fills the arrays with the corners an immediate-mode draw would send; returns the triangles.
int gatherArrays(const MeshObject& o, const ShapeSource& s, const ViewCone& cone, MeshArrays& out);

// Several meshes as one set of arrays: T2F_C4F_N3F_V3F per vertex and flat corner, placed on the
// CPU, and each mesh's range and colour for the per-pass colour fill.
struct BatchMesh {
    std::size_t firstVertex = 0;
    std::size_t vertexCount = 0;
    Vec4 colour;
};
struct MeshBatch {
    std::vector<float> vertices;
    std::vector<std::uint32_t> indices;
    std::vector<BatchMesh> meshes;
    std::size_t vertexCount = 0; // of the last gathering
};
inline constexpr std::size_t kBatchFloatsPerVertex = 12;
// Gathers the listed meshes that exist and have the shape; the first of them (its index in
// `lead`, -1 for none) gives the batch its look. Returns the triangles.
int gatherBatch(const Model& model, const int* meshes, int count, int geometry, MeshBatch& out, int& lead);
// Each mesh's colour times k, with the vertex alpha.
void fillBatchColours(MeshBatch& batch, float k, float alpha);

// The scratch arrays the renderers share (one renderer draws at a time).
MeshArrays& sharedMeshArrays();
MeshBatch& sharedMeshBatch();
