// The bath: tub, rubber duck, water sheet and the wings with their hidden handle meshes. The tub
// and duck are implicit shapes (smooth unions and differences) polygonized and then decimated.
#include "mesh/Decimate.h"
#include "mesh/Polygonize.h"
#include "mesh/Primitives.h"
#include "mesh/Projection.h"
#include "recipes/ModelCatalog.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

// World units per file unit of the visible wings and of the hidden handle wings, whose vertices
// the scene scales by a further 0.723 to get the handle targets.
constexpr double kWingScale = 3.0;
constexpr double kHandleScale = 6.5 * 0.723;
// How far the handle cloud spreads beyond the visible wing (see buildWingHandles).
constexpr double kHandleSpread = 2.5;

// A wing lofted along its span (file y, away from the body), thin across x, chord along z.
// Sections are ellipses; the trailing edge (-z) is scalloped into feathers.
Mesh wingLoft(int stations, int around, bool left) {
    std::vector<std::vector<Vec3d>> rings;
    for (int i = 0; i < stations; ++i) {
        const double s = static_cast<double>(i) / (stations - 1);
        const double span = 0.05 + 2.85 * s;
        const double chord = 0.45 + 0.45 * std::sin(kPi * std::pow(s, 0.8)) - 0.4 * s * s * s;
        const double thickness = 0.08 * (1.0 - 0.7 * s) + 0.012;
        const double sweep = 0.3 * s * s;
        // Six feathers along the trailing edge, notched between, longer towards the tip.
        const double notch = 1.0 - std::fabs(std::sin(6.0 * kPi * s));
        const double feathers = 1.0 + (0.15 + 0.25 * s) * (1.0 - notch * notch * notch);
        std::vector<Vec3d> ring;
        for (int k = 0; k < around; ++k) {
            const double a = 2 * kPi * k / around;
            const double sz = std::sin(a);
            const double z = sweep + chord * sz * (sz < 0.0 ? feathers : 1.0);
            const double camber = 0.06 * (1.0 - sz * sz); // arched across the chord
            ring.push_back({thickness * std::cos(a) + camber, left ? -span : span, z});
        }
        rings.push_back(ring);
    }
    const double tip = 0.05 + 2.85 + 0.08;
    Mesh m = loft(rings, true, {0, 0, 0}, true, {0, left ? -tip : tip, 0.35});
    orientOutward(m);
    projectPlanar(m, {0, 0.5, 0}, {0, 0, 0.5}, 1.0);
    return m;
}

} // namespace

// Visible wings (x3): span 8.7 world units out from the body, the left towards -y (world -z).
Mesh buildWing(bool left) { return wingLoft(48, 12, left); }

// Hidden wings (x6.5): one flap handle per vertex. The scene adds the handles' displacements
// unweighted (strength 1.65, reach sqrt(250) = 15.8 units, wider than the wing), so every handle
// moves every wing vertex and the flap grows with the handle count: a wing-shaped cloud of 14
// handles spread to 2.5 times the wing's size makes the tip swing about 3 units (some 20 degrees
// of an 8.7-unit span); the 82 handles of a full low-poly wing would throw it about 40 units.
Mesh buildWingHandles(bool left) {
    Mesh m = wingLoft(4, 3, left);
    scale(m, Vec3d{1, 1, 1} * (kHandleSpread * kWingScale / kHandleScale));
    return m;
}

// Bathtub (x1.5): outer shell 5.2 x 2.5 file units, rim at z = 0.7, basin floor at -0.85, on
// four feet. The scene maps it by sphere mapping, but it keeps coordinates for texCoordScale 0.01.
Mesh buildTub() {
    const Sdf outer = sdfRoundBox({0, 0, -0.35}, {2.6, 1.25, 1.05}, 0.45);
    const Sdf basin = sdfRoundBox({0, 0, 0.3}, {2.35, 1.0, 1.15}, 0.4);
    Sdf tub = sdfSmoothDifference(outer, basin, 0.06);
    for (int sx = -1; sx <= 1; sx += 2)
        for (int sy = -1; sy <= 1; sy += 2) {
            const Sdf foot = sdfCapsule({sx * 2.0, sy * 0.8, -1.2}, {sx * 2.25, sy * 0.95, -1.62}, 0.14);
            tub = sdfSmoothUnion(tub, foot, 0.12);
        }
    Mesh m = polygonize(tub, {{-3.0, -1.6, -1.9}, {3.0, 1.6, 1.0}, 0.05});
    decimate(m, 3200);
    projectPlanar(m, {100, 0, 35}, {0, 100, 35}, 1.0);
    return m;
}

// Rubber duck (x1): body 2 units long, head towards +x, sitting upright (+z).
Mesh buildDuck() {
    const Sdf body = sdfEllipsoid({0, 0, 0}, {1.0, 0.68, 0.55});
    const Sdf head = sdfSphere({0.62, 0, 0.78}, 0.42);
    const Sdf beak = sdfEllipsoid({1.08, 0, 0.7}, {0.26, 0.2, 0.09});
    const Sdf tail = sdfEllipsoid({-0.92, 0, 0.3}, {0.3, 0.22, 0.22});
    Sdf duck = sdfSmoothUnion(body, head, 0.18);
    duck = sdfSmoothUnion(duck, tail, 0.15);
    duck = sdfSmoothUnion(duck, beak, 0.05);
    // Flattened underside so it floats level.
    duck = sdfIntersection(duck, [](Vec3d p) { return -0.42 - p.z; });
    Mesh m = polygonize(duck, {{-1.4, -0.9, -0.6}, {1.5, 0.9, 1.35}, 0.035});
    decimate(m, 1400);
    projectPlanar(m, {1, 0, 0.35}, {0, 1, 0.6}, 1.0);
    return m;
}

// The water in the tub (x1.5): a sheet at z = 0.2, inside the basin, facing up; its corners are
// pulled round to follow the basin's.
Mesh buildGlassSheet() {
    const double hx = 2.3, hy = 0.95, r = 0.4;
    Mesh m = gridSheet(hx, hy, 0.2, 40, 18);
    for (Vec3d& p : m.positions) {
        const Vec3d corner{std::copysign(hx - r, p.x), std::copysign(hy - r, p.y), p.z};
        if (std::fabs(p.x) > hx - r && std::fabs(p.y) > hy - r) {
            const Vec3d d = p - corner;
            const double l = length(d);
            if (l > r) p = corner + d * (r / l);
        }
    }
    return m;
}
