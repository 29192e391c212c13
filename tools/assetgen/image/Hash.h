#pragma once
// Integer hashing: the only source of randomness in the generator, so the same seed gives the
// same bytes on every run and every machine.

#include <cstdint>

inline uint32_t hash32(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352du;
    x ^= x >> 15;
    x *= 0x846ca68bu;
    x ^= x >> 16;
    return x;
}

inline uint32_t hash2(int x, int y, uint32_t seed) {
    return hash32(uint32_t(x) * 0x8da6b343u ^ hash32(uint32_t(y) * 0xd8163841u ^ seed));
}

// Uniform in [0, 1), from the top 24 bits.
inline float unitFloat(uint32_t h) { return float(h >> 8) * (1.0f / 16777216.0f); }
