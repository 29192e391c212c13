#pragma once
// Texture projections: texture coordinates computed from positions, one per vertex. Welded meshes
// have no seam vertices, so the wrapping projections mirror the texture at the seam instead of
// jumping from 1 back to 0 (a jump would smear the whole texture across one column of faces).

#include "mesh/Mesh.h"

// u = dot(p, uAxis) * scale, v = dot(p, vAxis) * scale. With axes oblique to all three file axes
// no axis-aligned wall gets a degenerate (streaked) mapping.
void projectPlanar(Mesh& m, Vec3d uAxis, Vec3d vAxis, double scale);

// Around the z axis through centre: u from the angle (0 to repeats and back, mirrored), v from the
// height times vScale.
void projectCylindrical(Mesh& m, Vec3d centre, double repeats, double vScale);

// About centre: u from the longitude (mirrored, 0 to uRepeats and back), v from the latitude
// (0 at the bottom pole to vRepeats at the top).
void projectSpherical(Mesh& m, Vec3d centre, double uRepeats, double vRepeats);
