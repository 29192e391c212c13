#pragma once
// World-space copies of a mesh through the renderer's current modelview; the arithmetic and the
// rest of the mesh's world-space work are in geometry/WorldTransform.h.

#include "render/geometry/WorldTransform.h"

// Applies the mesh's placement (translation and the Y, Z, X rotations, or its matrix) on top of
// the current modelview and fills the world arrays through the product, as transformToWorldBy
// does. Leaves the modelview unchanged.
void transformToWorld(Model& model, int mesh, int source, bool smooth);
