#include "assets/MeshObject.h"

void MeshObject::prepareWorkBuffers() {
    if (workBuffersReady != 0) return;
    workPositions.assign(static_cast<std::size_t>(vertexCount), Vec3());
    vertexNormals.assign(static_cast<std::size_t>(vertexCount), Vec3());
    workBuffersReady = 1;
}
