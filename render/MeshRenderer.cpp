// The back end draws; what every back end works out the same way is in geometry/MeshArrays.h.
#include "render/MeshRenderer.h"

#include "render/Backends.h"
#include "render/PassProfile.h"
#include "render/geometry/MeshArrays.h"

void drawObject(Model& model, int mesh, const SceneLight& light, int geometry, NormalLines normals) {
    if (!isMeshOf(model, mesh)) return;
    const PassTimer t("meshes");
    backend().mesh->drawObject(model, mesh, light, geometry, normals);
}

void drawObjects(Model& model, const int* meshes, int count, const SceneLight& light, int geometry) {
    const PassTimer t("mesh batches");
    backend().mesh->drawObjects(model, meshes, count, light, geometry);
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
