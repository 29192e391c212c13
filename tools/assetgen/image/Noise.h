#pragma once
// Periodic gradient noise and its octave sums. Every lattice wraps across the image, so fields
// built from these tile seamlessly on surfaces with large texture coordinates.

#include "image/Image.h"

#include <cstdint>

// Gradient noise at (x, y) in lattice units, repeating every periodX by periodY cells.
// Roughly in -1..1.
float gradientNoise(float x, float y, int periodX, int periodY, uint32_t seed);

struct FbmParams {
    int cellsX = 4; // lattice cells across the image at the first octave
    int cellsY = 4;
    int octaves = 5; // each octave doubles the frequency, so the field stays periodic (at most 32)
    float gain = 0.5f;
    uint32_t seed = 1;
};

// Plain noise (one octave of FbmParams), fBm, turbulence (sum of |noise|) and ridged
// (sum of (1 - |noise|)^2). Results are raw sums scaled by the total amplitude; recipes
// normalise or apply levels afterwards.
Field noise(int width, int height, const FbmParams& p);
Field fbm(int width, int height, const FbmParams& p);
Field turbulence(int width, int height, const FbmParams& p);
Field ridged(int width, int height, const FbmParams& p);
