#pragma once
// Signed distance fields: negative inside a solid, positive outside, combined into shapes that
// are hard to build by hand (caves, perforated boxes, tubs, ducks) and then polygonized.

#include "mesh/Noise3.h"
#include "mesh/Vec3d.h"

#include <functional>
#include <vector>

using Sdf = std::function<double(Vec3d)>;

Sdf sdfSphere(Vec3d centre, double radius);
// Box of half extents with rounded edges (radius taken from inside the extents).
Sdf sdfRoundBox(Vec3d centre, Vec3d halfExtents, double radius);
// Ellipsoid (approximate distance, exact sign).
Sdf sdfEllipsoid(Vec3d centre, Vec3d radii);
// Segment a-b swept by a sphere of radius r.
Sdf sdfCapsule(Vec3d a, Vec3d b, double r);
// Infinite cylinder along an axis direction through a point.
Sdf sdfCylinder(Vec3d point, Vec3d axis, double r);

Sdf sdfUnion(Sdf a, Sdf b);
Sdf sdfDifference(Sdf a, Sdf b); // a minus b
Sdf sdfIntersection(Sdf a, Sdf b);
// Polynomial smooth minimum with blend width k: solids melt into each other.
Sdf sdfSmoothUnion(Sdf a, Sdf b, double k);
Sdf sdfSmoothDifference(Sdf a, Sdf b, double k);
// Inverts inside and outside (a room or cave around the camera).
Sdf sdfComplement(Sdf a);
// Shell of the given thickness around the surface of a.
Sdf sdfShell(Sdf a, double thickness);
// Adds noise(p * frequency) * amplitude: lumps the surface.
Sdf sdfDisplace(Sdf a, const Noise3& noise, double frequency, double amplitude, int octaves);

double smoothMin(double a, double b, double k);
