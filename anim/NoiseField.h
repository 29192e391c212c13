#pragma once
// Gradient noise with the quintic fade and twelve cube-edge gradients, hashed through two
// permutation tables and a table of gradient indices drawn from the shared random generator.
// The lattice cell is found by truncation towards zero, so the noise is continuous for
// non-negative inputs only; the scenes pass absolute values for that reason.

#include <vector>

struct NoiseField {
    int size = 0;
    int mask = 0;                   // size - 1, wraps every table index
    std::vector<int> gradientIndex; // 3 * gradient number: the offset into the gradient table
    std::vector<int> permB;         // second lookup level
    std::vector<int> permA;         // first lookup level

    NoiseField() = default;
    // Reseeds the shared random generator with seed and draws the tables from it. Start-up only.
    NoiseField(int size, int mask, int seed);

    // Per-frame operations: no allocation, no state change.
    float noise(float x, float y, float z) const;
    // Sum of noise(p * lacunarity^i) * gain^i over i = 0 ... octaves - 1.
    float fractalSum(float x, float y, float z, int octaves, float lacunarity, float gain) const;
    float fbm(float x, float y, float z, int octaves) const;
    // As fbm, summing the absolute value of each octave.
    float turbulence(float x, float y, float z, int octaves) const;
};
