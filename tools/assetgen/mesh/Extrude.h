#pragma once
// Extrusion of 2D outlines into closed solids. The outline plane (u, v) becomes the file's x-z
// plane (u right, v up) and the solid spans y from -depth/2 to +depth/2, so its front cap faces
// -y: a viewer on the -y side sees the outline upright and unmirrored.

#include "mesh/Mesh.h"

#include <vector>

// A closed polygon; the last point connects back to the first. Outer contours and holes may run
// either way round: filling uses the odd-even rule.
using Contour = std::vector<Vec2d>;

struct ExtrudeResult {
    Mesh mesh;
    std::size_t unmatchedEdges = 0; // outline edges the cap triangulation did not use (0 = closed)
};

// Triangulates the outlines (GLU tessellator), then builds both caps and the side walls, sharing
// the outline vertices so the solid is closed. Long cap triangles are split until no cap edge is
// longer than maxCapEdge (0: no splitting), which lets the solid bend smoothly when deformed.
ExtrudeResult extrudeContours(const std::vector<Contour>& contours, double depth, double maxCapEdge);

// Triangles filling the outlines (odd-even rule), counter-clockwise in (u, v), over the given
// points: contours' points first in order, then any points the tessellator had to add.
struct Triangulation {
    std::vector<Vec2d> points;
    std::vector<Face> triangles;
};
Triangulation triangulateContours(const std::vector<Contour>& contours);

// Signed area, positive for counter-clockwise contours.
double contourArea(const Contour& c);
