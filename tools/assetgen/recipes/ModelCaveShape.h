#pragma once
// Dimensions of the cave, shared by its recipe and the clearance check. File units (x15 in the
// scene). The camera's eye stays within 0.4 of the centre line vertically and close to it across.

#include "mesh/Vec3d.h"

#include <cstddef>
#include <vector>

struct CaveShape {
    double radiusAcross = 0.58; // horizontal half-width of a passage
    double radiusUp = 0.7;      // vertical half-height (room for the eye's -0.37 to +0.40)
    double lumpAmplitude = 0.09;
    double lumpFrequency = 1.3;
    double hallAcross = 1.0; // the halls round the greetings, wide enough to see them from the path
    double hallUp = 0.65;
    double hallBlend = 0.25;
    double cell = 0.07;       // polygonizer grid
    std::size_t faces = 2000; // after decimation
};

inline constexpr CaveShape kCaveShape{};

// Each greeting's hall radii, as a share of the common ones: the last name is the widest.
inline constexpr double kCaveHallScales[5] = {1.0, 1.0, 1.0, 1.0, 1.45};

// The passage's centre line in file coordinates: the eye's path without its vertical jitter.
std::vector<Vec3d> caveCentreLine();
