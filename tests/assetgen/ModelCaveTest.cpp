// The cave flight: the eye path derived from the scene's path table and camera rules, and the
// cave model around it: every eye point and the lantern inside, with clearance to the walls.
#include "mesh/Topology.h"
#include "recipes/ModelCatalog.h"
#include "recipes/ModelCavePath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

// Smallest clearance the eye keeps to the cave wall, in file units (x15: 3 world units, thirty
// times the camera's near plane).
constexpr double kEyeClearance = 0.2;

// The lantern: half the diagonal of its 1.5-unit box at x2, in the cave's file units.
constexpr double kLanternRadius = 0.75 * 1.7320508 * 2.0 / 15.0;

Vec3d closestOnTriangle(Vec3d p, Vec3d a, Vec3d b, Vec3d c) {
    const Vec3d ab = b - a, ac = c - a, ap = p - a;
    const double d1 = dot(ab, ap), d2 = dot(ac, ap);
    if (d1 <= 0 && d2 <= 0) return a;
    const Vec3d bp = p - b;
    const double d3 = dot(ab, bp), d4 = dot(ac, bp);
    if (d3 >= 0 && d4 <= d3) return b;
    const double vc = d1 * d4 - d3 * d2;
    if (vc <= 0 && d1 >= 0 && d3 <= 0) return a + ab * (d1 / (d1 - d3));
    const Vec3d cp = p - c;
    const double d5 = dot(ab, cp), d6 = dot(ac, cp);
    if (d6 >= 0 && d5 <= d6) return c;
    const double vb = d5 * d2 - d1 * d6;
    if (vb <= 0 && d2 >= 0 && d6 <= 0) return a + ac * (d2 / (d2 - d6));
    const double va = d3 * d6 - d5 * d4;
    if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0)
        return b + (c - b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)));
    const double denom = 1.0 / (va + vb + vc);
    return a + ab * (vb * denom) + ac * (vc * denom);
}

double distanceToMesh(const Mesh& m, Vec3d p) {
    double best = 1e300;
    for (const Face& f : m.faces)
        best = std::min(
            best, length(p - closestOnTriangle(p, m.positions[f[0]], m.positions[f[1]], m.positions[f[2]])));
    return best;
}

// Generalised winding number: +1 inside a closed outward mesh, -1 inside an inward one, 0 outside.
double windingNumber(const Mesh& m, Vec3d p) {
    double total = 0.0;
    for (const Face& f : m.faces) {
        const Vec3d a = m.positions[f[0]] - p, b = m.positions[f[1]] - p, c = m.positions[f[2]] - p;
        const double la = length(a), lb = length(b), lc = length(c);
        const double numerator = dot(a, cross(b, c));
        const double denominator = la * lb * lc + dot(a, b) * lc + dot(b, c) * la + dot(c, a) * lb;
        total += 2.0 * std::atan2(numerator, denominator);
    }
    return total / (4.0 * std::numbers::pi);
}

const Mesh& cave() {
    static const Mesh m = buildCave();
    return m;
}

const CaveFlight& flight() {
    static const CaveFlight f = buildCaveFlight();
    return f;
}

} // namespace

TEST(ModelCaveFlight, eyePassesTheTablePointsShiftedAndFlippedAsDerived) {
    // The table's (x, z) become file (x - 0.689204, 1.668403 - z) for the eye, since the eye is
    // the negated camera position and the loader maps file (x, y, z) to world (x, -z, y) * 15.
    const double table[4][2] = {{0.84422, 8.3402}, {-7.2626, 2.1234}, {6.8993, -0.55016}, {-0.52438, -8.289}};
    for (const auto& t : table) {
        const Vec2d expected{t[0] - 0.689204, 1.668403 - t[1]};
        double nearest = 1e9;
        for (int i = 0; i < 8000; ++i) {
            const Vec3d eye = caveEyeInFile(flight(), i / 8000.0);
            nearest = std::min(nearest, length(Vec2d{eye.x, eye.y} - expected));
        }
        EXPECT_LT(nearest, 0.02) << t[0] << ", " << t[1];
    }
}

// The jittered path's tangents carry height too, so its curve overshoots the jitter's +-3 world
// units between points: the eye reaches about 0.4 file units up, a little over 1.7 * 3 / 15.
TEST(ModelCaveFlight, eyeRisesAndFallsByUpToAboutPointFourAlongFileZ) {
    double low = 1e9, high = -1e9;
    for (int i = 0; i < 8000; ++i) {
        const double z = caveEyeInFile(flight(), i / 8000.0).z;
        low = std::min(low, z), high = std::max(high, z);
    }
    EXPECT_GT(low, -0.42);
    EXPECT_LT(high, 0.42);
    EXPECT_GT(high - low, 0.4); // the lantern's jitter really moves the camera
}

TEST(ModelCave, isClosedFacesInwardsAndFitsItsBudget) {
    const EdgeReport r = inspectEdges(cave());
    EXPECT_TRUE(r.closedAndOriented());
    EXPECT_LT(signedVolume(cave()), 0.0);
    EXPECT_LE(cave().faceCount(), 2600u);
    EXPECT_GE(cave().faceCount(), 1500u);
}

TEST(ModelCave, everyEyePointIsInsideWithClearance) {
    double minClearance = 1e9;
    for (int i = 0; i < 1500; ++i) {
        const Vec3d eye = caveEyeInFile(flight(), i / 1500.0);
        EXPECT_LT(windingNumber(cave(), eye), -0.5) << "eye outside the cave at travel " << i / 1500.0;
        minClearance = std::min(minClearance, distanceToMesh(cave(), eye));
    }
    EXPECT_GE(minClearance, kEyeClearance);
    std::printf("smallest eye clearance: %.3f file units (%.2f world units)\n", minClearance,
                minClearance * 15);
}

TEST(ModelCave, lanternAndItsSwayStayInside) {
    const double sway = caveSwayReachInFile(flight());
    double minClearance = 1e9;
    for (int i = 0; i < 600; ++i) {
        const Vec3d lantern = caveLanternInFile(flight(), i / 600.0);
        EXPECT_LT(windingNumber(cave(), lantern), -0.5);
        minClearance = std::min(minClearance, distanceToMesh(cave(), lantern));
    }
    EXPECT_GT(minClearance, sway + kLanternRadius);
    std::printf("smallest lantern clearance: %.3f file units, sway reach %.3f, lantern radius %.3f\n",
                minClearance, sway, kLanternRadius);
}

// A file direction as the scene turns it, unit length.
Vec3d turned(int k, Vec3d fileDirection) {
    return normalized(caveGreetingToWorld(k, fileDirection, {0, 0, 0}));
}

TEST(ModelCaveGreetings, readLeftToRightUprightAndFacingTheCameraWhileShown) {
    for (int k = 0; k < 5; ++k) {
        const CaveGreetingPlacement& g = kCaveGreetingPlacements[k];
        const Vec3d at = caveGreetingAnchor(flight(), k);
        // Halfway through the fade-in window the camera aims at the greeting.
        const double campos = g.start + 0.05;
        const Vec3d eye = caveEyeInFile(flight(), campos);
        const Vec3d eyeWorld{eye.x * 15, -eye.z * 15, eye.y * 15};
        const Vec3d view = normalized(at - eyeWorld);
        Vec3d up{0, -1, 0}; // the cameras' screen-up
        up = normalized(up - view * dot(up, view));
        const Vec3d right = normalized(cross(view, up));
        EXPECT_GT(dot(turned(k, {1, 0, 0}), right), 0.7) << "greeting " << k << " reads backwards";
        EXPECT_GT(dot(turned(k, {0, -1, 0}), -view), 0.5) << "greeting " << k << " turns away";
        EXPECT_GT(dot(turned(k, {0, 0, 1}), up), 0.7) << "greeting " << k << " is not upright";
    }
}

// Every corner of each greeting's box stands inside the cave, clear of the wall.
TEST(ModelCaveGreetings, standInsideTheCaveWithRoomToSpare) {
    for (int k = 0; k < 5; ++k) {
        const Bounds b = boundsOf(buildGreeting(k));
        const Vec3d anchor = caveGreetingAnchor(flight(), k);
        double clearance = 1e9;
        for (int c = 0; c < 8; ++c) {
            const Vec3d corner{c & 1 ? b.max.x : b.min.x, c & 2 ? b.max.y : b.min.y,
                               c & 4 ? b.max.z : b.min.z};
            const Vec3d p = worldToFile(caveGreetingToWorld(k, corner, anchor), kCaveVertexScale);
            EXPECT_LT(windingNumber(cave(), p), -0.5) << "greeting " << k << " pokes out of the cave";
            clearance = std::min(clearance, distanceToMesh(cave(), p));
        }
        EXPECT_GT(clearance, 0.05) << "greeting " << k;
        std::printf("greeting %d: %.1f world units wide, %.2f file units clear of the wall\n", k,
                    b.size().x * kCaveGreetingPlacements[k].vertexScale, clearance);
    }
}

namespace {

double distanceToBox(Vec3d p, const Bounds& b) {
    const Vec3d outside{std::max({b.min.x - p.x, 0.0, p.x - b.max.x}),
                        std::max({b.min.y - p.y, 0.0, p.y - b.max.y}),
                        std::max({b.min.z - p.z, 0.0, p.z - b.max.z})};
    return length(outside);
}

} // namespace

// The names stand in halls beside the flight, so neither the camera nor the lantern passes through
// a name while it is shown.
TEST(ModelCaveGreetings, theEyeAndTheLanternPassClearOfEachNameWhileItIsShown) {
    for (int k = 0; k < 5; ++k) {
        const CaveGreetingPlacement& g = kCaveGreetingPlacements[k];
        const Vec3d anchor = caveGreetingAnchor(flight(), k);
        const Vec3d axes[3] = {turned(k, {1, 0, 0}), turned(k, {0, 1, 0}), turned(k, {0, 0, 1})};
        const Bounds file = boundsOf(buildGreeting(k));
        const Bounds box{file.min * g.vertexScale, file.max * g.vertexScale};
        // World point to the name's own axes, in world units.
        auto local = [&](Vec3d p) {
            const Vec3d d = p - anchor;
            return Vec3d{dot(d, axes[0]), dot(d, axes[1]), dot(d, axes[2])};
        };
        auto world = [](Vec3d f) { return Vec3d{f.x, -f.z, f.y} * kCaveVertexScale; };
        double eye = 1e9, lantern = 1e9;
        for (double c = g.start; c <= g.start + 0.08; c += 0.0005) {
            eye = std::min(eye, distanceToBox(local(world(caveEyeInFile(flight(), c))), box));
            lantern = std::min(lantern, distanceToBox(local(world(caveLanternInFile(flight(), c))), box));
        }
        EXPECT_GT(eye, 3.0) << "greeting " << k;
        EXPECT_GT(lantern, kLanternRadius * kCaveVertexScale) << "greeting " << k;
    }
}

namespace {

// Whether the segment from a to b passes through a face of the mesh (Moller-Trumbore).
bool blocked(const Mesh& m, Vec3d a, Vec3d b) {
    const Vec3d d = b - a;
    for (const Face& f : m.faces) {
        const Vec3d p0 = m.positions[f[0]], e1 = m.positions[f[1]] - p0, e2 = m.positions[f[2]] - p0;
        const Vec3d h = cross(d, e2);
        const double det = dot(e1, h);
        if (std::fabs(det) < 1e-12) continue;
        const Vec3d s = a - p0;
        const double u = dot(s, h) / det;
        if (u < 0.0 || u > 1.0) continue;
        const Vec3d q = cross(s, e1);
        const double v = dot(d, q) / det;
        if (v < 0.0 || u + v > 1.0) continue;
        const double t = dot(e2, q) / det;
        if (t > 0.0 && t < 1.0) return true;
    }
    return false;
}

double halfCosine(double x) { return (1.0 - std::cos(std::numbers::pi * std::clamp(x, 0.0, 1.0))) / 2.0; }

} // namespace

// What each greeting is for: while it is shown, the name faces the camera the right way round
// (within 45 degrees), fills at least a third of the frame's width without leaving it, is in plain
// view, lit from in front and inside the lantern's broad beam (about 38 degrees each side of its
// front) with the lantern's glare off the letters, for at least 1.5 s.
TEST(ModelCaveGreetings, eachNameReadsLargeAndLitForASecondAndAHalf) {
    const double perFrame = kCaveCameraSpeed / 60.0 / flight().cameraPath.totalLength;
    const double tanHalfHeight = std::tan(37.5 * std::numbers::pi / 180.0);
    const double tanHalfWidth = tanHalfHeight * 4.0 / 3.0;
    auto world = [](Vec3d f) { return Vec3d{f.x, -f.z, f.y} * kCaveVertexScale; };
    for (int k = 0; k < 5; ++k) {
        const CaveGreetingPlacement& g = kCaveGreetingPlacements[k];
        const Vec3d anchor = caveGreetingAnchor(flight(), k);
        const Bounds b = boundsOf(buildGreeting(k));
        std::vector<Vec3d> corners;
        for (int c = 0; c < 8; ++c)
            corners.push_back(caveGreetingToWorld(
                k, {c & 1 ? b.max.x : b.min.x, c & 2 ? b.max.y : b.min.y, c & 4 ? b.max.z : b.min.z}, anchor));
        const Vec3d centre = caveGreetingToWorld(k, (b.min + b.max) * 0.5, anchor);
        const double halfWidth = (b.max.x - b.min.x) * g.vertexScale / 2.0;
        const Vec3d front = turned(k, {0, -1, 0}), across = turned(k, {1, 0, 0});
        double readable = 0.0;
        for (double c = g.start; c <= g.start + 0.08; c += perFrame) {
            const double shown = halfCosine((c - g.start) / 0.035) * (1.0 - halfCosine((c - g.start - 0.07) / 0.01));
            if (shown < 0.8) continue; // the camera and the lantern are still turning to it
            const Vec3d eye = world(caveEyeInFile(flight(), c));
            const Vec3d lantern = world(caveLanternInFile(flight(), c));
            const Vec3d ahead = -flight().cavePath.evaluate(c + 3.0 * kCaveCameraSpeed / flight().cameraPath.totalLength);
            const Vec3d view = normalized(ahead * (1.0 - shown) + anchor * shown - eye);
            Vec3d up{0, -1, 0};
            up = normalized(up - view * dot(up, view));
            const Vec3d right = normalized(cross(view, up));
            double low = 1e9, high = -1e9;
            bool framed = true;
            for (const Vec3d& p : corners) {
                const Vec3d d = p - eye;
                const double depth = dot(d, view);
                if (depth < 1.0) {
                    framed = false;
                    break;
                }
                const double x = dot(d, right) / depth / tanHalfWidth, y = dot(d, up) / depth / tanHalfHeight;
                framed = framed && std::fabs(x) <= 1.0 && std::fabs(y) <= 1.0;
                low = std::min(low, x), high = std::max(high, x);
            }
            const bool facing = dot(front, normalized(eye - centre)) > 0.7 && dot(across, right) > 0.5;
            const bool large = (high - low) / 2.0 >= 1.0 / 3.0;
            const bool inBeam = length(centre - lantern) * std::tan(38.0 * std::numbers::pi / 180.0) >= halfWidth;
            // The lantern lights the name's front, and its glare stands clear of the letters: seen
            // from the eye it is more than 3 degrees outside the name's half-width, or beyond it.
            const bool litFront = dot(front, normalized(lantern - centre)) > 0.2;
            const Vec3d sight = centre - eye;
            const double toLantern = std::acos(std::clamp(dot(normalized(lantern - eye), normalized(sight)), -1.0, 1.0));
            const bool glareClear = toLantern > std::atan(halfWidth / length(sight)) + 3.0 * std::numbers::pi / 180.0 ||
                                    dot(lantern - eye, sight) > 0.95 * dot(sight, sight);
            if (!(framed && facing && large && inBeam && litFront && glareClear)) continue;
            if (blocked(cave(), worldToFile(eye, kCaveVertexScale), worldToFile(centre, kCaveVertexScale)) ||
                blocked(cave(), worldToFile(lantern, kCaveVertexScale), worldToFile(centre, kCaveVertexScale)))
                continue;
            readable += 1.0 / 60.0;
        }
        EXPECT_GE(readable, 1.5) << "greeting " << k;
        std::printf("greeting %d reads for %.2f s\n", k, readable);
    }
}
