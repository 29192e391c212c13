#include "anim/NoiseField.h"

#include "anim/Random.h"

#include <cmath>
#include <cstdint>
#include <utility>

namespace {

// Twelve cube-edge gradients; gradientIndex holds 3 * k to select vector k.
// clang-format off
constexpr float kGradients[36] = {
    0,  1,  1,    0,  1, -1,    0, -1,  1,    0, -1, -1,
    1,  0,  1,    1,  0, -1,   -1,  0,  1,   -1,  0, -1,
    1,  1,  0,    1, -1,  0,   -1,  1,  0,   -1, -1,  0,
};
// clang-format on

float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

float corner(int gradientOffset, float fx, float fy, float fz) {
    const float* g = kGradients + static_cast<unsigned>(gradientOffset);
    return g[0] * fx + g[1] * fy + g[2] * fz;
}

float lerp(float t, float a, float b) { return (1.0f - t) * a + t * b; }

} // namespace

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

float NoiseField::noise(float x, float y, float z) const {
    // Truncate through 64 bits so large coordinates still give a defined cell. Indices are kept
    // unsigned from here on: the table entries are never negative, and unsigned indexing saves
    // a sign extension per lookup.
    const std::int64_t tx = static_cast<std::int64_t>(x);
    const std::int64_t ty = static_cast<std::int64_t>(y);
    const std::int64_t tz = static_cast<std::int64_t>(z);
    const unsigned m = static_cast<unsigned>(mask);
    const unsigned X = static_cast<unsigned>(tx) & m;
    const unsigned Y = static_cast<unsigned>(ty) & m;
    const unsigned Z = static_cast<unsigned>(tz) & m;
    const float fx = x - static_cast<float>(tx);
    const float fy = y - static_cast<float>(ty);
    const float fz = z - static_cast<float>(tz);

    const int* A = permA.data();
    const int* B = permB.data();
    const int* G = gradientIndex.data();

    const unsigned a0 = static_cast<unsigned>(A[Z]) + Y;
    const unsigned a1 = static_cast<unsigned>(A[(Z + 1) & m]) + Y;
    const unsigned h00 = static_cast<unsigned>(B[a0 & m]) + X; // h_jk: j = y offset, k = z layer
    const unsigned h10 = static_cast<unsigned>(B[(a0 + 1) & m]) + X;
    const unsigned h01 = static_cast<unsigned>(B[a1 & m]) + X;
    const unsigned h11 = static_cast<unsigned>(B[(a1 + 1) & m]) + X;

    const float n000 = corner(G[h00 & m], fx, fy, fz);
    const float n100 = corner(G[(h00 + 1) & m], fx - 1.0f, fy, fz);
    const float n010 = corner(G[h10 & m], fx, fy - 1.0f, fz);
    const float n110 = corner(G[(h10 + 1) & m], fx - 1.0f, fy - 1.0f, fz);
    const float n001 = corner(G[h01 & m], fx, fy, fz - 1.0f);
    const float n101 = corner(G[(h01 + 1) & m], fx - 1.0f, fy, fz - 1.0f);
    const float n011 = corner(G[h11 & m], fx, fy - 1.0f, fz - 1.0f);
    const float n111 = corner(G[(h11 + 1) & m], fx - 1.0f, fy - 1.0f, fz - 1.0f);

    const float u = fade(fx), v = fade(fy), w = fade(fz);
    const float e00 = lerp(u, n000, n100);
    const float e10 = lerp(u, n010, n110);
    const float e01 = lerp(u, n001, n101);
    const float e11 = lerp(u, n011, n111);
    const float l0 = lerp(v, e00, e10);
    const float l1 = lerp(v, e01, e11);
    return lerp(w, l0, l1);
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
