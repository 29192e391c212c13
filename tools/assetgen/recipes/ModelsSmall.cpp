// Small repeated objects: stars, sickles, risers, the tower element and the figure. Their face
// counts are multiplied by how often the scenes draw them, so they are kept lean.
#include "mesh/Extrude.h"
#include "mesh/Primitives.h"
#include "mesh/Projection.h"
#include "recipes/ModelCatalog.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

// A star's rim in the x-z plane at depth y: points alternate between the outer and inner radius.
std::vector<Vec3d> starRim(int points, double outer, double inner, double y) {
    std::vector<Vec3d> rim;
    for (int i = 0; i < 2 * points; ++i) {
        const double a = kPi / 2 + kPi * i / points;
        const double r = i % 2 == 0 ? outer : inner;
        rim.push_back({r * std::cos(a), y, r * std::sin(a)});
    }
    return rim;
}

// A faceted star: rims at the given depths, closed by an apex on each side.
Mesh starSolid(int points, const std::vector<double>& radiusScale, const std::vector<double>& depths,
               double outer, double inner, double apex) {
    std::vector<std::vector<Vec3d>> rings;
    for (std::size_t i = 0; i < depths.size(); ++i)
        rings.push_back(starRim(points, outer * radiusScale[i], inner * radiusScale[i], depths[i]));
    Mesh m = loft(rings, true, {0, -apex, 0}, true, {0, apex, 0});
    orientOutward(m);
    projectPlanar(m, {1, 0, 0}, {0, 0, 1}, 1.0);
    return m;
}

} // namespace

// The detailed star (x2), loaded by three scenes and drawn by none: a five-pointed star with a
// bevelled rim.
Mesh buildStar() { return starSolid(5, {0.8, 1.0, 1.0, 0.8}, {-0.08, -0.03, 0.03, 0.08}, 0.5, 0.21, 0.2); }

// The swarm star (x1.75): a five-pointed bipyramid of 20 faces. The swarm scene can have all
// 450 stars in view, each drawn in four passes: 1800 draws a frame, 36 000 triangles.
Mesh buildSwarmStar() { return starSolid(5, {1.0}, {0.0}, 0.5, 0.21, 0.17); }

// The rising sickle (x2 then scaled 0.03: 6 file units make 0.36 world units): a crescent
// extruded through the x-z plane.
Mesh buildSickle() {
    // Crescent = disc of radius 6 minus a disc of radius 5 shifted right by 2.2.
    const double r1 = 6.0, r2 = 5.0, shift = 2.2;
    // The two circles meet where x = (r1^2 - r2^2 + shift^2) / (2 shift).
    const double xm = (r1 * r1 - r2 * r2 + shift * shift) / (2 * shift);
    const double zm = std::sqrt(r1 * r1 - xm * xm);
    const double outerStart = std::atan2(zm, xm);
    const double innerStart = std::atan2(zm, xm - shift);
    Contour c;
    const int steps = 7; // 52 faces: each sickle is a few dozen pixels across, fifty of them
    for (int i = 0; i <= steps; ++i) { // outer arc, counter-clockwise round the left side
        const double a = outerStart + (2 * kPi - 2 * outerStart) * i / steps;
        c.push_back({r1 * std::cos(a), r1 * std::sin(a)});
    }
    for (int i = steps - 1; i >= 1; --i) { // inner arc back, clockwise
        const double a = innerStart + (2 * kPi - 2 * innerStart) * i / steps;
        c.push_back({shift + r2 * std::cos(a), r2 * std::sin(a)});
    }
    Mesh m = extrudeContours({c}, 1.3, 0.0).mesh;
    projectPlanar(m, {1, 0, 0}, {0, 0, 1}, 1.0 / 12.0);
    return m;
}

// The hipu riser (x0.25, scaled 0.093 across and 0.2 upright: 8 file units make a 0.19-wide,
// 0.8-tall flame): a small lathed drop, 48 faces. Its scene uses texture coordinates x0.001.
Mesh buildRiser() {
    Mesh m = lathe({{0, -7}, {4.5, -4}, {6, 0}, {3.5, 4.5}, {0, 9}}, 8);
    projectCylindrical(m, {}, 500.0, 100.0);
    return m;
}

// The tower element (x0.5): a string of eight pods on a thread that winds a little round the
// axis, 10 file units tall. The scene's handles stretch it some 20 to 40 times upright but only
// 2 to 4 times across, and unevenly from row to row; a smooth strand would just slide along
// itself, while the pods show the stretch, running long on the kick and bunching where the
// squeeze wave passes. Eight copies turned 45 degrees apart make eight strings round the column
// that the sway splays and twists. The copies are drawn 32 times a frame, hence six sides.
Mesh buildTowerElement() {
    constexpr int pods = 8, stationsPerPod = 5, around = 6;
    constexpr int stations = pods * stationsPerPod + 1;
    std::vector<std::vector<Vec3d>> rings;
    for (int i = 0; i < stations; ++i) {
        const double s = static_cast<double>(i) / (stations - 1);
        const double z = -5.0 + 10.0 * s;
        // 0 at the necks between pods, 1 round the middle of a pod.
        const double pod = std::sin(kPi * std::fmod(s * pods, 1.0));
        const double radius = 0.3 + 1.3 * std::pow(pod, 0.8);
        const double turn = 0.8 * (s - 0.5);
        const Vec3d centre{2.6 * std::cos(turn), 2.6 * std::sin(turn), z};
        std::vector<Vec3d> ring;
        for (int k = 0; k < around; ++k) {
            const double a = 2 * kPi * k / around;
            ring.push_back(
                {centre.x + radius * std::cos(a + turn), centre.y + radius * std::sin(a + turn), z});
        }
        rings.push_back(ring);
    }
    const Vec3d bottom{2.6 * std::cos(-0.4), 2.6 * std::sin(-0.4), -5.05};
    const Vec3d top{2.6 * std::cos(0.4), 2.6 * std::sin(0.4), 5.05};
    Mesh m = loft(rings, true, bottom, true, top);
    orientOutward(m);
    projectCylindrical(m, {}, 1.0, 0.1);
    return m;
}

// The swarm scene's figure (x1.5), loaded and never drawn: a lathed little character.
Mesh buildFigure() {
    Mesh m = lathe({{0, 0},
                    {0.55, 0.0},
                    {0.6, 0.1},
                    {0.35, 0.25},
                    {0.3, 0.5},
                    {0.45, 0.8},
                    {0.42, 1.05},
                    {0.2, 1.2},
                    {0.18, 1.3},
                    {0.33, 1.45},
                    {0.36, 1.65},
                    {0.28, 1.85},
                    {0.12, 1.97},
                    {0, 2.0}},
                   16);
    translate(m, {0, 0, -1.0});
    projectCylindrical(m, {}, 1.0, 1.0);
    return m;
}
