// Band-limited oscillators: saw and square with polyBLEP corrections, sine, noise, and a
// two-operator FM pair. The phase runs in [0, 1).
#pragma once

#include "synth/Dsp.h"

namespace synth {

enum class Waveform { Sine, Saw, Square, Triangle, Noise, Fm };

// The polyBLEP residual: subtracting it from a naive step smooths the discontinuity over the
// two samples around it, pushing aliasing down by about 40 dB for little cost.
inline float polyBlep(float phase, float increment) {
    if (phase < increment) {
        const float t = phase / increment;
        return t + t - t * t - 1.0f;
    }
    if (phase > 1.0f - increment) {
        const float t = (phase - 1.0f) / increment;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

struct Oscillator {
    float phase = 0.0f;
    float modPhase = 0.0f; // the FM modulator's phase
    float triState = 0.0f; // leaky integrator that turns the band-limited square into a triangle

    // One sample at increment = frequency / sampleRate; fmRatio and fmIndex only matter for Fm.
    float next(Waveform wave, float increment, Rng& rng, float fmRatio = 1.0f, float fmIndex = 0.0f);
};

} // namespace synth
