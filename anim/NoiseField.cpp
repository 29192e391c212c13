#include "anim/NoiseField.h"

#include "anim/Random.h"

#include <cmath>
#include <cstdint>
#include <utility>

NoiseField::NoiseField(int fieldSize, int fieldMask, int seed)
    : size(fieldSize < 1 ? 1 : fieldSize), mask(fieldMask), gradientIndex(size), permB(size), permA(size) {
    // A mask wider than the tables would index past their end; wrap within the tables instead.
    if (mask < 0 || mask > size - 1) mask = size - 1;

    seedRandom(static_cast<std::uint32_t>(seed));
    for (int i = 0; i < size; ++i) {
        gradientIndex[i] = (drawRandom() % 12) * 3;
        permB[i] = i;
        permA[i] = i;
    }
    // The draw order (B swap, A swap, one discarded draw) fixes the tables for a given seed.
    for (int i = 0; i < size; ++i) {
        std::swap(permB[drawRandom() & mask], permB[i]);
        std::swap(permA[drawRandom() & mask], permA[i]);
        drawRandom();
    }
}

float NoiseField::fractalSum(float x, float y, float z, int octaves, float lacunarity, float gain) const {
    float sum = 0.0f;
    float amplitude = 1.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += noise(x, y, z) * amplitude;
        amplitude *= gain;
        x *= lacunarity, y *= lacunarity, z *= lacunarity;
    }
    return sum;
}

float NoiseField::fbm(float x, float y, float z, int octaves) const {
    return fractalSum(x, y, z, octaves, 2.0f, 0.5f);
}

float NoiseField::turbulence(float x, float y, float z, int octaves) const {
    float sum = 0.0f;
    float amplitude = 1.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += std::fabs(noise(x, y, z) * amplitude);
        amplitude *= 0.5f;
        x *= 2.0f, y *= 2.0f, z *= 2.0f;
    }
    return sum;
}
