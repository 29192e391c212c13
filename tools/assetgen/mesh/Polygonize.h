#pragma once
// Polygonizer: marching tetrahedra over a regular grid. Each cube is split into six tetrahedra
// around the same diagonal, so neighbouring cells agree on their shared faces and the surface
// has no cracks; vertices on a grid edge are shared (welded) by construction. When the solid
// lies strictly inside the grid the result is closed. Normals point out of the solid (towards
// positive field values).

#include "mesh/Mesh.h"
#include "mesh/Sdf.h"

struct PolygonizeGrid {
    Vec3d min{};
    Vec3d max{};
    double cell = 0.1;
};

Mesh polygonize(const Sdf& field, const PolygonizeGrid& grid);
