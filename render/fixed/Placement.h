#pragma once
// A mesh's placement in its model's space, multiplied onto the current modelview.

#include "assets/MeshObject.h"

// translation, then the Y, Z and X rotations (useEuler), or the mesh's own matrix.
void applyPlacement(const MeshObject& o);
