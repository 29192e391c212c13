#pragma once
// Closed, welded primitive shapes. File axes: z is up. Every primitive's normals point
// outwards; rooms that hold the camera flip them afterwards.

#include "mesh/Mesh.h"

#include <vector>

// Latitude-longitude sphere with one vertex per pole and no seam column, so it is closed.
Mesh uvSphere(double radius, int segments, int rings);

// A box of the given half extents whose edges and corners are rounded with radius; each cube face
// is a grid of subdivisions × subdivisions quads.
Mesh roundedCube(Vec3d halfExtents, double radius, int subdivisions);

// Revolves a profile of (radius, height) points about the z axis. Points with radius 0 at either
// end become single pole vertices, which closes the surface there. The profile runs from the
// bottom to the top.
Mesh lathe(const std::vector<Vec2d>& profile, int segments);

// Skins a sequence of closed rings of equal point count into a tube. When capStart or capEnd is
// set, the first or last ring is closed with a fan around the given apex point. The rings'
// direction of travel and point order decide the winding: outward when each ring runs
// counter-clockwise seen from the end the sequence moves towards.
Mesh loft(const std::vector<std::vector<Vec3d>>& rings, bool capStart, Vec3d startApex, bool capEnd,
          Vec3d endApex);

// A flat rectangle in the file's x-y plane at height z, facing +z, of nx × ny quads.
Mesh gridSheet(double halfX, double halfY, double z, int nx, int ny);
