// The front of MeshRenderer.h: the renderer chosen at start-up draws; what both share is in
// MeshArrays.h.
#include "render/MeshRenderer.h"

#include "render/MeshArrays.h"
#include "render/Renderer.h"
#include "render/RendererBackends.h"

void drawObject(Model& model, int mesh, const SceneLight& light, int geometry, NormalLines normals) {
    if (!isMeshOf(model, mesh)) return;
    if (renderer() == Renderer::Shader) return shader::drawObject(model, mesh, light, geometry, normals);
    fixedfn::drawObject(model, mesh, light, geometry, normals);
}

void drawObjects(Model& model, const int* meshes, int count, const SceneLight& light, int geometry) {
    if (renderer() == Renderer::Shader) return shader::drawObjects(model, meshes, count, light, geometry);
    fixedfn::drawObjects(model, meshes, count, light, geometry);
}

int passCountOf(const MeshObject& mesh) {
    return 1 + (mesh.layered != 0 ? 1 : 0) + (mesh.renderMode == RenderMode::TextureReflect ? 1 : 0);
}

void reserveObjectBatch(int meshes, int vertices, int corners) {
    const std::size_t v = static_cast<std::size_t>(vertices > 0 ? vertices : 0);
    const std::size_t c = static_cast<std::size_t>(corners > 0 ? corners : 0);
    MeshBatch& batch = sharedMeshBatch();
    batch.meshes.reserve(static_cast<std::size_t>(meshes > 0 ? meshes : 0));
    if (batch.vertices.size() < kBatchFloatsPerVertex * (v + c))
        batch.vertices.resize(kBatchFloatsPerVertex * (v + c));
    if (batch.indices.size() < c) batch.indices.resize(c);
}
