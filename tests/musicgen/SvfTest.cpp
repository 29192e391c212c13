#include "synth/Svf.h"
#include "synth/Dsp.h"

#include <gtest/gtest.h>

#include <cmath>

using synth::FilterMode;
using synth::Svf;

namespace {
// Steady-state gain of the filter for a sine, measured after the transient.
float measuredGain(float cutoff, float resonance, float frequency, FilterMode mode) {
    Svf f;
    f.set(cutoff, resonance);
    const int settle = synth::sampleRate / 2;
    const int measure = synth::sampleRate / 2;
    double inEnergy = 0.0;
    double outEnergy = 0.0;
    for (int i = 0; i < settle + measure; ++i) {
        const float x = std::sin(synth::twoPi * frequency * static_cast<float>(i) / synth::sampleRate);
        const float y = f.process(x, mode);
        if (i >= settle) {
            inEnergy += x * x;
            outEnergy += y * y;
        }
    }
    return static_cast<float>(std::sqrt(outEnergy / inEnergy));
}
float db(float g) { return 20.0f * std::log10(g); }
} // namespace

TEST(SvfResponse, LowPassMatchesItsPrototypeAcrossTheBand) {
    for (float f : {100.0f, 500.0f, 1000.0f, 2000.0f, 4000.0f, 8000.0f}) {
        const float measured = measuredGain(1000.0f, 0.3f, f, FilterMode::LowPass);
        EXPECT_NEAR(db(measured), db(synth::svfLowPassGain(1000.0f, 0.3f, f)), 0.2f) << f << " Hz";
    }
}

TEST(SvfResponse, LowPassFallsTwelveDecibelsPerOctaveWellAboveCutoff) {
    // Far below Nyquist, where the bilinear warping does not steepen the slope.
    const float atTenTimesCutoff = db(measuredGain(100.0f, 0.0f, 1000.0f, FilterMode::LowPass));
    const float atTwentyTimesCutoff = db(measuredGain(100.0f, 0.0f, 2000.0f, FilterMode::LowPass));
    EXPECT_NEAR(atTenTimesCutoff - atTwentyTimesCutoff, 12.0f, 1.0f);
}

TEST(SvfResponse, ResonanceRaisesThePeakAtCutoff) {
    const float flat = measuredGain(1000.0f, 0.0f, 1000.0f, FilterMode::LowPass);
    const float resonant = measuredGain(1000.0f, 0.9f, 1000.0f, FilterMode::LowPass);
    EXPECT_LT(flat, 0.6f); // Q = 0.5: -6 dB at the corner
    EXPECT_GT(resonant, 4.0f);
}

TEST(SvfResponse, HighPassKeepsHighsAndRemovesLows) {
    EXPECT_GT(measuredGain(1000.0f, 0.2f, 8000.0f, FilterMode::HighPass), 0.95f);
    EXPECT_LT(measuredGain(1000.0f, 0.2f, 100.0f, FilterMode::HighPass), 0.02f);
}

TEST(SvfResponse, StaysFiniteUnderFastCutoffSweeps) {
    Svf f;
    synth::Rng rng(3);
    float y = 0.0f;
    for (int i = 0; i < synth::sampleRate; ++i) {
        if (i % 8 == 0) f.set(20.0f + 20000.0f * rng.nextUnit(), 0.95f);
        y = f.process(rng.nextBipolar(), FilterMode::LowPass);
        ASSERT_TRUE(std::isfinite(y));
        ASSERT_LT(std::fabs(y), 100.0f);
    }
}
