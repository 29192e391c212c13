// The cave and its lantern. The cave is one implicit surface around the camera's own flight, so
// where the flight crosses itself the passages join instead of cutting through each other; the
// lantern is a hollow box drilled with holes that throw the light's shadows onto the walls.
#include "mesh/Decimate.h"
#include "mesh/Polygonize.h"
#include "mesh/Projection.h"
#include "recipes/ModelCatalog.h"
#include "recipes/ModelCavePath.h"
#include "recipes/ModelCaveShape.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {

// Segments of the centre line bucketed on a 2D grid, so each field sample looks at a few nearby
// segments instead of all of them.
struct SegmentGrid {
    std::vector<Vec3d> points; // the closed centre line
    double cell = 0.5;
    std::unordered_map<long long, std::vector<std::uint32_t>> buckets;

    static long long keyOf(long long i, long long j) { return i * 1000003LL + j; }

    explicit SegmentGrid(std::vector<Vec3d> line) : points(std::move(line)) {
        const double reach = kCaveShape.radiusAcross + 0.4;
        for (std::uint32_t s = 0; s < points.size(); ++s) {
            const Vec3d a = points[s], b = points[(s + 1) % points.size()];
            const auto i0 = static_cast<long long>(std::floor((std::min(a.x, b.x) - reach) / cell));
            const auto i1 = static_cast<long long>(std::floor((std::max(a.x, b.x) + reach) / cell));
            const auto j0 = static_cast<long long>(std::floor((std::min(a.y, b.y) - reach) / cell));
            const auto j1 = static_cast<long long>(std::floor((std::max(a.y, b.y) + reach) / cell));
            for (long long i = i0; i <= i1; ++i)
                for (long long j = j0; j <= j1; ++j) buckets[keyOf(i, j)].push_back(s);
        }
    }

    // Distance to the centre line with heights squeezed so the cross-section is an ellipse of
    // radiusAcross by radiusUp; 'far' when no segment is near.
    double distance(Vec3d p, double far) const {
        const auto it = buckets.find(keyOf(static_cast<long long>(std::floor(p.x / cell)),
                                           static_cast<long long>(std::floor(p.y / cell))));
        if (it == buckets.end()) return far;
        const double squeeze = kCaveShape.radiusAcross / kCaveShape.radiusUp;
        double best = far;
        for (std::uint32_t s : it->second) {
            Vec3d a = points[s], b = points[(s + 1) % points.size()];
            a.z *= squeeze, b.z *= squeeze;
            const Vec3d q{p.x, p.y, p.z * squeeze};
            const Vec3d ab = b - a;
            const double t = std::clamp(dot(q - a, ab) / std::max(dot(ab, ab), 1e-18), 0.0, 1.0);
            best = std::min(best, length(q - (a + ab * t)));
        }
        return best;
    }
};

} // namespace

std::vector<Vec3d> caveCentreLine() {
    const CaveFlight flight = buildCaveFlight();
    std::vector<Vec3d> line;
    const int samples = 3000;
    for (int i = 0; i < samples; ++i) {
        // The eye without the lantern's vertical jitter: the passage is centred on the path and
        // made tall enough for the jitter (-0.37 to +0.40).
        Vec3d p =
            worldToFile(-flight.cameraPath.evaluate(static_cast<double>(i) / samples), kCaveVertexScale);
        line.push_back(p);
    }
    return line;
}

// The cave (x15). Rock is where the field is positive; the surface faces the passage.
Mesh buildCave() {
    const SegmentGrid grid(caveCentreLine());
    const Noise3 noise(7);
    const double far = kCaveShape.radiusAcross + 1.0;
    // A hall round each greeting, so the name stands clear of the walls.
    const CaveFlight flight = buildCaveFlight();
    std::vector<Vec3d> halls, hallRadii;
    for (int k = 0; k < 5; ++k) {
        halls.push_back(worldToFile(caveGreetingAnchor(flight, k), kCaveVertexScale));
        hallRadii.push_back(Vec3d{kCaveShape.hallAcross, kCaveShape.hallAcross, kCaveShape.hallUp} * kCaveHallScales[k]);
    }
    const Sdf passage = [&](Vec3d p) {
        double open = grid.distance(p, far) - kCaveShape.radiusAcross;
        for (std::size_t k = 0; k < halls.size(); ++k) {
            const Vec3d q = p - halls[k];
            const Vec3d r{q.x / hallRadii[k].x, q.y / hallRadii[k].y, q.z / hallRadii[k].z};
            open = smoothMin(open, (length(r) - 1.0) * kCaveShape.hallUp * kCaveHallScales[k], kCaveShape.hallBlend);
        }
        if (open >= far - kCaveShape.radiusAcross) return 1.0;
        return open + kCaveShape.lumpAmplitude * noise.fbm(p * kCaveShape.lumpFrequency, 3, 0.5);
    };
    Bounds b;
    std::vector<Vec3d> reach = grid.points;
    for (std::size_t k = 0; k < halls.size(); ++k)
        reach.push_back(halls[k]), reach.push_back(halls[k] + hallRadii[k]), reach.push_back(halls[k] - hallRadii[k]);
    for (const Vec3d& p : reach) {
        b.min = {std::min(b.min.x, p.x), std::min(b.min.y, p.y), std::min(b.min.z, p.z)};
        b.max = {std::max(b.max.x, p.x), std::max(b.max.y, p.y), std::max(b.max.z, p.z)};
    }
    const Vec3d margin{kCaveShape.radiusAcross + 0.3, kCaveShape.radiusAcross + 0.3,
                       kCaveShape.radiusUp + 0.3};
    Mesh m = polygonize(passage, {b.min - margin, b.max + margin, kCaveShape.cell});
    decimate(m, kCaveShape.faces);
    flipWinding(m); // seen from inside
    projectPlanar(m, {1, 0, 0.7}, {0, 1, -0.7}, 0.5);
    return m;
}

// The lantern (x2): a hollow rounded box 1.5 file units across (3 world units) with walls 0.1
// thick, each face drilled by one large and four small holes, and the +x face opened into one wide
// window instead: while a greeting is shown the scene turns the lantern's +x axis towards it, so
// the broad beam (some 38 degrees each side) lights the whole name from beside it. Closed (a shadow caster); the light and its bulb sit in
// the middle.
Mesh buildLantern() {
    const Sdf box = sdfShell(sdfRoundBox({}, {0.7, 0.7, 0.7}, 0.16), 0.1);
    const Vec3d axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const Sdf front = sdfRoundBox({0.75, 0, 0}, {0.25, 1.0, 1.0}, 0.0); // the +x wall and nothing else
    const Sdf behindFront = sdfComplement(front);
    Sdf holes = sdfIntersection(sdfCylinder({}, axes[0], 0.68), front);
    for (int a = 0; a < 3; ++a) {
        const Vec3d u = axes[(a + 1) % 3], v = axes[(a + 2) % 3];
        Sdf drilled = sdfCylinder({}, axes[a], 0.24);
        for (int su = -1; su <= 1; su += 2)
            for (int sv = -1; sv <= 1; sv += 2)
                drilled = sdfUnion(drilled, sdfCylinder(u * (0.38 * su) + v * (0.38 * sv), axes[a], 0.11));
        // The x holes would cut the window's frame: they drill the -x wall alone.
        holes = sdfUnion(holes, a == 0 ? sdfIntersection(drilled, behindFront) : drilled);
    }
    const Sdf lantern = sdfSmoothDifference(box, holes, 0.02);
    Mesh m = polygonize(lantern, {{-0.9, -0.9, -0.9}, {0.9, 0.9, 0.9}, 0.026});
    decimate(m, 1000);
    projectPlanar(m, {1, 0, 0.6}, {0, 1, 0.6}, 1.0);
    return m;
}
