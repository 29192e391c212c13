#pragma once
// Gradient noise with the quintic fade and twelve cube-edge gradients, hashed through two
// permutation tables and a table of gradient indices drawn from the shared random generator.
// The lattice cell is found by truncation towards zero, so the noise is continuous for
// non-negative inputs only; the scenes pass absolute values for that reason.

#include <cstdint>
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

// The lookup is called per vertex and per particle every frame, so it is inlined into callers.
namespace noise_detail {

// Twelve cube-edge gradients; gradientIndex holds 3 * k to select vector k.
// clang-format off
inline constexpr float kGradients[36] = {
    0,  1,  1,    0,  1, -1,    0, -1,  1,    0, -1, -1,
    1,  0,  1,    1,  0, -1,   -1,  0,  1,   -1,  0, -1,
    1,  1,  0,    1, -1,  0,   -1,  1,  0,   -1, -1,  0,
};
// clang-format on

inline float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

inline float corner(int gradientOffset, float fx, float fy, float fz) {
    const float* g = kGradients + static_cast<unsigned>(gradientOffset);
    return g[0] * fx + g[1] * fy + g[2] * fz;
}

inline float lerp(float t, float a, float b) { return (1.0f - t) * a + t * b; }

} // namespace noise_detail

inline float NoiseField::noise(float x, float y, float z) const {
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

    const float n000 = noise_detail::corner(G[h00 & m], fx, fy, fz);
    const float n100 = noise_detail::corner(G[(h00 + 1) & m], fx - 1.0f, fy, fz);
    const float n010 = noise_detail::corner(G[h10 & m], fx, fy - 1.0f, fz);
    const float n110 = noise_detail::corner(G[(h10 + 1) & m], fx - 1.0f, fy - 1.0f, fz);
    const float n001 = noise_detail::corner(G[h01 & m], fx, fy, fz - 1.0f);
    const float n101 = noise_detail::corner(G[(h01 + 1) & m], fx - 1.0f, fy, fz - 1.0f);
    const float n011 = noise_detail::corner(G[h11 & m], fx, fy - 1.0f, fz - 1.0f);
    const float n111 = noise_detail::corner(G[(h11 + 1) & m], fx - 1.0f, fy - 1.0f, fz - 1.0f);

    const float u = noise_detail::fade(fx), v = noise_detail::fade(fy), w = noise_detail::fade(fz);
    const float e00 = noise_detail::lerp(u, n000, n100);
    const float e10 = noise_detail::lerp(u, n010, n110);
    const float e01 = noise_detail::lerp(u, n001, n101);
    const float e11 = noise_detail::lerp(u, n011, n111);
    const float l0 = noise_detail::lerp(v, e00, e10);
    const float l1 = noise_detail::lerp(v, e01, e11);
    return noise_detail::lerp(w, l0, l1);
}
