// The bath: tub, rubber duck, water sheet and the wings with their hidden handle meshes. The tub
// and duck are implicit shapes (smooth unions and differences) polygonized and then decimated.
#include "mesh/Decimate.h"
#include "mesh/Polygonize.h"
#include "mesh/Primitives.h"
#include "mesh/Projection.h"
#include "recipes/ModelCatalog.h"

#include <algorithm>
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

// How a wing is lofted: stations along the span, points around each section, where the innermost
// section sits along the span, and how strongly the wing arches across its chord and along its span.
struct WingLoft {
    int stations = 0;
    int around = 0;
    double root = 0.05;
    double camber = 0.06;
    double droop = 0.0;
    double rootWidening = 0.0; // added to the chord at the root, fading out by mid-span
};

// The feathered part of the wing runs from 0.05 to 2.9 file units out from the body.
constexpr double kWingStart = 0.05;
constexpr double kWingSpan = 2.85;

// A wing lofted along its span (file y, away from the body), thin across x, chord along z.
// Sections are ellipses; the trailing edge (-z) is scalloped into feathers. A root reaching in
// from kWingStart (root < 0.05) is a plain shoulder, as wide as the wing's first section.
// Texture coordinates: u runs along the span, 3 repeats over the feathers (two scallops each),
// v across the chord from the trailing edge (0) to the leading edge (1), alike on both faces.
Mesh wingLoft(const WingLoft& w, bool left) {
    std::vector<std::vector<Vec3d>> rings;
    std::vector<Vec2d> uvs;
    for (int i = 0; i < w.stations; ++i) {
        const double along = w.root + (kWingStart + kWingSpan - w.root) * i / (w.stations - 1);
        const double s = std::max(0.0, (along - kWingStart) / kWingSpan);
        const double inner = std::max(0.0, 1.0 - 2.0 * s);
        const double chord =
            0.45 + 0.45 * std::sin(kPi * std::pow(s, 0.8)) - 0.4 * s * s * s + w.rootWidening * inner * inner;
        const double thickness = 0.08 * (1.0 - 0.7 * s) + 0.012;
        const double sweep = 0.3 * s * s;
        // Six feathers along the trailing edge, notched between, longer towards the tip.
        const double notch = 1.0 - std::fabs(std::sin(6.0 * kPi * s));
        const double feathers = 1.0 + (0.15 + 0.25 * s) * (1.0 - notch * notch * notch);
        // The outer wing bends down (-x) towards the tip.
        const double bend = -w.droop * s * s;
        std::vector<Vec3d> ring;
        for (int k = 0; k < w.around; ++k) {
            const double a = 2 * kPi * k / w.around;
            const double sz = std::sin(a);
            const double z = sweep + chord * sz * (sz < 0.0 ? feathers : 1.0);
            const double camber = w.camber * (1.0 - sz * sz); // arched across the chord
            ring.push_back({thickness * std::cos(a) + camber + bend, left ? -along : along, z});
            uvs.push_back({3.0 * (along - kWingStart) / kWingSpan, 0.5 + 0.5 * sz});
        }
        rings.push_back(ring);
    }
    const double tip = kWingStart + kWingSpan + 0.08;
    const double rootEnd = w.root - kWingStart; // the first section's centre closes the root
    Mesh m = loft(rings, true, {0, left ? -rootEnd : rootEnd, 0}, true, {-w.droop, left ? -tip : tip, 0.35});
    std::copy(uvs.begin(), uvs.end(), m.uvs.begin());
    m.uvs[uvs.size()] = {3.0 * rootEnd / kWingSpan, 0.5};
    m.uvs[uvs.size() + 1] = {3.0, 0.3};
    orientOutward(m);
    return m;
}

} // namespace

// Visible wings (x3): span 8.7 world units out from the body, the left towards -y (world -z). The
// scene hangs them 4 units out from the tub's middle, so a shoulder reaches back 0.62 file units
// into the tub's side wall (2.55 to 2.1 out); the shoulder stays at rest while the wing flaps. The arch
// across the chord and the droop along the span turn the wing's reflection from the dark to the
// light part of the sky, so the wing reads as a curved blade rather than a flat white shape.
Mesh buildWing(bool left) {
    return wingLoft(
        {.stations = 48, .around = 12, .root = -0.57, .camber = 0.12, .droop = 0.25, .rootWidening = 0.3},
        left);
}

// Hidden wings (x6.5): one flap handle per vertex. The scene adds the handles' displacements
// unweighted (strength 1.65, reach sqrt(250) = 15.8 units, wider than the wing), so every handle
// moves every wing vertex and the flap grows with the handle count: a wing-shaped cloud of 14
// handles spread to 2.5 times the wing's size makes the tip swing about 3 units (some 20 degrees
// of an 8.7-unit span); the 82 handles of a full low-poly wing would throw it about 40 units.
Mesh buildWingHandles(bool left) {
    Mesh m = wingLoft({.stations = 4, .around = 3}, left);
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

// Rubber duck (x1): body 2.8 units long, head towards +x, sitting upright (+z). The big duck
// floats in the 9-unit tub and still reads from the camera's 20 units; the small ones (x0.3) sit
// on the basin floor under the water until they come up.
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
    scale(m, Vec3d{1.4, 1.4, 1.4});
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
