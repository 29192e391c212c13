#include "render/Transform.h"

#include "render/Backends.h"

void transformToWorld(Model& model, int mesh, int source, bool smooth) {
    const Mat4 m = backend().camera->placedModelview(model.mesh(mesh));
    transformToWorldBy(model, mesh, m.m, source, smooth);
}
