#include "synth/Svf.h"

#include "synth/Dsp.h"

#include <algorithm>
#include <cmath>

namespace synth {

namespace {
float qInverse(float resonance) { return 2.0f - 1.98f * std::clamp(resonance, 0.0f, 1.0f); }
} // namespace

void Svf::set(float cutoffHz, float resonance) {
    const float nyquistGuard = 0.49f * static_cast<float>(sampleRate);
    const float fc = std::clamp(cutoffHz, 10.0f, nyquistGuard);
    g = std::tan(pi * fc / static_cast<float>(sampleRate));
    k = qInverse(resonance);
    a1 = 1.0f / (1.0f + g * (g + k));
    a2 = g * a1;
    a3 = g * a2;
}

float Svf::process(float x, FilterMode mode) {
    const float v3 = x - ic2;
    const float v1 = a1 * ic1 + a2 * v3;
    const float v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = 2.0f * v1 - ic1;
    ic2 = 2.0f * v2 - ic2;
    switch (mode) {
    case FilterMode::LowPass:
        return v2;
    case FilterMode::BandPass:
        return v1;
    case FilterMode::HighPass:
        return x - k * v1 - v2;
    case FilterMode::Notch:
        return x - k * v1;
    }
    return v2;
}

float svfLowPassGain(float cutoffHz, float resonance, float frequencyHz) {
    // The trapezoidal filter maps analogue frequencies through tan(), so use the warped ratio.
    const float fs = static_cast<float>(sampleRate);
    const float w = std::tan(pi * frequencyHz / fs) / std::tan(pi * cutoffHz / fs);
    const float k = qInverse(resonance);
    const float re = 1.0f - w * w;
    const float im = k * w;
    return 1.0f / std::sqrt(re * re + im * im);
}

} // namespace synth
