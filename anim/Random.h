#pragma once
// The process-wide pseudo-random generator: a linear congruential generator with the constants
// and 15-bit draw of the classic C runtime, written out so the sequence is the same on every
// platform (the C library's rand differs between runtimes). Noise fields reseed it when they are
// built and scenes draw from it afterwards, so the order of the set-ups decides every later number.

#include <cstdint>

// Draws lie in 0 ... kRandomMax; dividing by kRandomRange maps them into [0, 1).
inline constexpr int kRandomMax = 0x7FFF;
inline constexpr float kRandomRange = 32768.0f;

struct RandomGenerator {
    std::uint32_t state = 1; // an unseeded generator behaves as if seeded with 1

    void seed(std::uint32_t s) { state = s; }
    int draw() {
        state = state * 214013u + 2531011u; // wraps modulo 2^32
        return static_cast<int>((state >> 16) & static_cast<std::uint32_t>(kRandomMax));
    }
};

// The one shared generator.
void seedRandom(std::uint32_t seed);
int drawRandom();
// drawRandom() / 32768: a uniform value in [0, 1), the form the scenes scatter objects with.
float drawRandomFraction();
// The shared generator as it stands, and putting it back: the show started over draws the same
// numbers again.
RandomGenerator savedRandom();
void restoreRandom(const RandomGenerator& saved);
