// Small shared helpers of the synth engine: sample rate, unit conversions, a seeded noise source
// and the floating-point mode every render runs in.
#pragma once

#include <cmath>
#include <cstdint>

namespace synth {

constexpr int sampleRate = 44100;
constexpr float pi = 3.14159265358979f;
constexpr float twoPi = 6.28318530717959f;

inline float dbToGain(float db) { return std::pow(10.0f, db * 0.05f); }
inline float gainToDb(float gain) { return 20.0f * std::log10(gain); }
inline float midiToHz(float note) { return 440.0f * std::exp2((note - 69.0f) / 12.0f); }
inline int secondsToSamples(double seconds) { return static_cast<int>(std::lround(seconds * sampleRate)); }

// Noise from a fixed seed, so every render of the same score gives the same bytes.
struct Rng {
    uint32_t state = 0x9E3779B9u;

    explicit Rng(uint32_t seed = 1u) : state(seed * 2654435761u + 0x9E3779B9u) {}
    uint32_t nextU32() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    // Uniform in [-1, 1).
    float nextBipolar() { return static_cast<float>(nextU32() >> 8) * (2.0f / 16777216.0f) - 1.0f; }
    // Uniform in [0, 1).
    float nextUnit() { return static_cast<float>(nextU32() >> 8) * (1.0f / 16777216.0f); }
};

// Feedback loops (reverb, delay) decay into subnormal numbers, which run two orders of magnitude
// slower on x86; flush them to zero for the whole thread.
void flushDenormals();

} // namespace synth
