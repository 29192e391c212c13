#pragma once
// The cave scene's flight, reproduced offline: the cave model is built around it and the tests
// check the camera's clearance along it. The curve follows the demo's path rules (a closed chain
// of cubic Bezier segments with normalised central-difference tangents, resampled to near-equal
// arc-length spacing) and the scene's use of them (camera on the resampled cave path, raised by
// 1.7 times the height of a jittered copy one second ahead).

#include "mesh/Vec3d.h"
#include "show/CaveGreetings.h"

#include <vector>

struct CurvePath {
    std::vector<Vec3d> points;
    std::vector<Vec3d> tangents;
    bool closed = true;
    std::size_t capacity = 100;
    double totalLength = 0.0;
    double tangentLength = 0.0;
    bool normalizeTangents = true;
    int resampleCount = 0;

    void addPoint(Vec3d p);
    void build(double tangentLengthArg, bool normalize);
    Vec3d evaluate(double t) const;
    void planResample();
    CurvePath resampled() const;
};

struct CaveFlight {
    CurvePath cavePath;    // as built from the table (world units)
    CurvePath cameraPath;  // cavePath resampled
    CurvePath lanternPath; // the jittered copy, resampled
    CurvePath swayPath;    // small loop added to the light
};

// Builds the four paths exactly as the scene's set-up does, including its seeded jitter.
CaveFlight buildCaveFlight();

// World units per file unit of the cave model, and the camera's speed in world units per second.
constexpr double kCaveVertexScale = 15.0;
constexpr double kCaveCameraSpeed = 18.0;

// The camera's eye in the cave file's coordinates at camera-path parameter travel.
Vec3d caveEyeInFile(const CaveFlight& flight, double travel);

// The lantern (light) centre in file coordinates at travel, without the small sway.
Vec3d caveLanternInFile(const CaveFlight& flight, double travel);

// The largest distance, in file units, that the sway can add to the lantern's position.
double caveSwayReachInFile(const CaveFlight& flight);

// Where the scene stands its greetings: shown from campos start, placed where the camera will be
// at start + lead, shifted and turned (rotations applied x, then z, then y), loaded at vertexScale.
// The show's table (show/CaveGreetings.h) in the generator's vectors.
struct CaveGreetingPlacement {
    double start, lead;
    Vec3d offset, rotation;
    double vertexScale;
};
constexpr CaveGreetingPlacement placementOf(const CaveGreetingPlace& p) {
    return {p.start, p.lead, {p.offset[0], p.offset[1], p.offset[2]}, {p.rotation[0], p.rotation[1], p.rotation[2]},
            p.vertexScale};
}
inline constexpr CaveGreetingPlacement kCaveGreetingPlacements[kCaveGreetingCount] = {
    placementOf(kCaveGreetingPlaces[0]), placementOf(kCaveGreetingPlaces[1]), placementOf(kCaveGreetingPlaces[2]),
    placementOf(kCaveGreetingPlaces[3]), placementOf(kCaveGreetingPlaces[4])};

// Greeting k's origin in world coordinates.
Vec3d caveGreetingAnchor(const CaveFlight& flight, int k);

// A point of greeting k's file in world coordinates, as the scene places it.
Vec3d caveGreetingToWorld(int k, Vec3d filePoint, Vec3d anchor);

// World (x, y, z) to file coordinates of a model loaded with the given vertex scale.
inline Vec3d worldToFile(Vec3d w, double vertexScale) { return Vec3d{w.x, w.z, -w.y} * (1.0 / vertexScale); }
