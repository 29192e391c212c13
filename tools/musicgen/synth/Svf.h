// Resonant state-variable filter in the trapezoidal (zero-delay feedback) form: stable under fast
// cutoff modulation and up to self-oscillation, with low, band and high outputs at once.
#pragma once

namespace synth {

enum class FilterMode { LowPass, BandPass, HighPass, Notch };

struct Svf {
    float g = 0.0f; // tan(pi fc / fs)
    float k = 2.0f; // 1 / Q
    float a1 = 0.0f, a2 = 0.0f, a3 = 0.0f;
    float ic1 = 0.0f, ic2 = 0.0f;

    // resonance 0 (Q = 0.5) .. 1 (self-oscillation edge).
    void set(float cutoffHz, float resonance);
    float process(float x, FilterMode mode);
    void reset() { ic1 = ic2 = 0.0f; }
};

// Magnitude response of the filter's low-pass output, from its analogue prototype, for tests
// and for the score to pick cutoffs.
float svfLowPassGain(float cutoffHz, float resonance, float frequencyHz);

} // namespace synth
