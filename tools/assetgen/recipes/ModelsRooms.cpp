// Balls and rooms. The rooms (backball, backball2, bigball, bigballe) hold the camera, so their
// faces turn inwards: they are front-facing, and lit, from inside.
#include "mesh/Primitives.h"
#include "mesh/Projection.h"
#include "recipes/ModelCatalog.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace {

Mesh room(double radius, int segments, int rings, double uRepeats, double vRepeats) {
    Mesh m = uvSphere(radius, segments, rings);
    projectSpherical(m, {}, uRepeats, vRepeats);
    flipWinding(m);
    return m;
}

Mesh ball(double radius, int segments, int rings, double uRepeats, double vRepeats) {
    Mesh m = uvSphere(radius, segments, rings);
    projectSpherical(m, {}, uRepeats, vRepeats);
    return m;
}

} // namespace

// The title's room (x20, texture x0.0025): 160 repeats each half turn and 80 pole to pole give it
// 0.4 x 0.2 of its texture, the opening picture and the first thing anyone sees.
Mesh buildBackball() { return room(50.0, 32, 18, 160.0, 80.0); }

// The tower's room (x5, stretched 5 upright, texture x6): the wall stands 140 to 360 units from
// the camera, so a repeat of the (blurred) paving round the middle is some 65 units, about 130
// pixels, about square: coarse enough not to crawl at 512 with no mipmaps, and small enough that
// the scroll of half a repeat a second drifts rather than rushes. Two repeats each half turn and
// nine pole to pole, times six.
Mesh buildPotkoBall() { return room(50.0, 32, 18, 2.0, 9.0); }

// The duck's room (x5, stretched 5 upright), drawn as a reflection only. Its noise lumps move
// with the time and the reflection is computed per vertex, so on too coarse a mesh the lumps turn
// into zig-zag facets: round the middle the noise makes some 35 lumps, and the camera, circling
// above the middle and looking down at the tub, sees from about 70 degrees below the equator to 25
// above it (the stretch makes that band over 1000 units tall). Rings are dense there and sparse
// elsewhere; the face count stays within the scene's triangle budget. The texture coordinates are
// never sampled.
Mesh buildDuckBall() {
    std::vector<Vec2d> profile{{0.0, -50.0}};
    auto addLatitude = [&profile](double degrees) {
        const double a = degrees * std::numbers::pi / 180.0;
        profile.push_back({50.0 * std::cos(a), 50.0 * std::sin(a)});
    };
    addLatitude(-80.0);
    for (int i = 0; i <= 33; ++i) addLatitude(-70.0 + 2.8 * i);
    for (const double d : {40.0, 60.0, 80.0}) addLatitude(d);
    profile.push_back({0.0, 50.0});
    Mesh m = lathe(profile, 64);
    projectSpherical(m, {}, 1.0, 1.0);
    flipWinding(m);
    return m;
}

// Closing room (x1.5): a ball widened and flattened front to back, about 195 x 165 units across
// and 112 deep. Its noise pushes the wall in by up to ~40 units, which still leaves the front
// wall clear of the light (up to 13.5 out) and the back wall of the camera (up to 12.3). A round
// room lit from near its middle faces the light everywhere and casts no shadow at all; on this
// flatter one the light falls ever more slanting towards the edges of the picture, so the lumps
// there throw shadows outwards that the camera, further back, can see. A shadow caster, hence
// welded and closed. Mapped front to back so the frame fed back into its texture lands upright
// on the far wall at about the frame's own size: the echoes hold still rather than swelling over
// the whole picture.
Mesh buildBackball2() {
    Mesh m = uvSphere(50.0, 40, 22);
    scale(m, {1.3, 0.75, 1.1});
    projectPlanar(m, {0.015, 0, 0}, {0, 0, 0.015}, 1.0);
    for (Vec2d& uv : m.uvs) uv = {uv.x + 0.5, uv.y + 0.5};
    flipWinding(m);
    return m;
}

// Star-ball scene's surrounding ball (x50), never drawn.
Mesh buildBigball() { return room(1.0, 32, 16, 2.0, 1.0); }

// Swarm room (x50 = 150 units) and hipu room (x7, stretched 7 upright).
Mesh buildBigballe() { return room(3.0, 48, 24, 8.0, 4.0); }

// The closing scene's light marker (x5: radius 1): big enough for its glow to streak into shafts.
Mesh buildBall() { return ball(0.2, 16, 8, 1.0, 1.0); }

// The cave lantern's bulb (x0.9: radius 0.6, inside the lantern's 1.3-unit cavity).
// The cave lantern's bulb (x0.9): nearly fills the lantern's hollow, so every hole shows it.
Mesh buildBitball() { return ball(1.15, 16, 8, 1.0, 1.0); }

// The hipu blob (x1.5: 1.5 units round the waist, 3 from the centre to each pole). Its squash
// maps radius r to about 1.25 / r^3 past r = 1 (and 2.5 times that upright), so the lattice's
// pulls swell it by the cube of how far they reach in, and a point pulled in near r = 0.3 would
// shoot out to 12 units or more. Twice as tall as wide keeps the poles, which the upper rings
// drag down hardest, out of that range over the whole scene, and turns the 2.5-fold upright
// stretch into a rounded head with the lower rings' pulls hanging below it. The squash magnifies
// the pulled-in parts several times, so the mesh is finer than its size suggests, and the
// texture repeats more often pole to pole (six) than round (four) because the head shows a
// narrow band of latitudes stretched tall; at x0.2 that gives it large, soft patches of colour.
Mesh buildBlob() {
    Mesh m = ball(1.0, 60, 32, 4.0, 6.0);
    scale(m, {1.0, 1.0, 2.0}); // file z is the scene's vertical
    return m;
}

// The boiling cube-ball, a rounded cube seen from outside. Its scene scales positions by 0.01 and
// stretches them by (2.5, 1.2, 1.2) along file x, z, y (depth, up, across), so it is built at
// world size and shrunk by those factors here. The camera sways within 0.1 of 0.4 in front of the
// origin and looks at it; the light hangs 0.15 beyond the origin and falls off steeply. The
// breathing moves every point up to 0.36 along its direction from the origin before the stretch,
// 0.9 in depth after it, which would sweep a cube around the origin through the camera. So the
// cube stands 1.35 beyond the origin, turned to show three faces, its nearest corner 0.48 out,
// where the light reaches it and the breathing cannot carry it past the light.
Mesh buildCubeBall() {
    constexpr double halfSize = 0.6, rounding = 0.2, distance = 1.35;
    constexpr double yaw = 0.6, pitch = 0.45;
    Mesh m = roundedCube({halfSize, halfSize, halfSize}, rounding, 27);
    projectSpherical(m, {}, 2.0, 1.0);
    rotateZ(m, yaw);
    const double c = std::cos(pitch), s = std::sin(pitch);
    transformPositions(m, [c, s](Vec3d p) { return Vec3d{c * p.x - s * p.z, p.y, s * p.x + c * p.z}; });
    translate(m, {distance, 0.0, 0.0});
    scale(m, {1.0 / (0.01 * 2.5), 1.0 / (0.01 * 1.2), 1.0 / (0.01 * 1.2)});
    return m;
}
