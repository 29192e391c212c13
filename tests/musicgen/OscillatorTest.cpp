#include "synth/Oscillator.h"
#include "synth/Dsp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using synth::Oscillator;
using synth::Waveform;

namespace {
// One second of signal, so DFT bin k is k Hz and a whole-hertz tone has no leakage.
constexpr int length = synth::sampleRate;

double binPower(const std::vector<float>& x, int hz) {
    const double w = 2.0 * M_PI * hz / length;
    double re = 0.0;
    double im = 0.0;
    for (int i = 0; i < length; ++i) {
        re += x[static_cast<size_t>(i)] * std::cos(w * i);
        im -= x[static_cast<size_t>(i)] * std::sin(w * i);
    }
    return (re * re + im * im) * 2.0 / (static_cast<double>(length) * length);
}

// Share of the signal's power that is not at a harmonic of `hz` below Nyquist: aliasing, in dB.
double aliasingDb(const std::vector<float>& x, int hz) {
    double total = 0.0;
    double mean = 0.0;
    for (float v : x) {
        total += v * v;
        mean += v;
    }
    total /= length;
    mean /= length;
    double harmonic = mean * mean;
    for (int k = hz; k < synth::sampleRate / 2; k += hz) harmonic += binPower(x, k);
    return 10.0 * std::log10((total - harmonic) / total);
}

std::vector<float> render(Waveform wave, int hz) {
    Oscillator osc;
    synth::Rng rng(1);
    std::vector<float> x(length);
    for (float& v : x) v = osc.next(wave, static_cast<float>(hz) / synth::sampleRate, rng);
    return x;
}

std::vector<float> naive(Waveform wave, int hz) {
    std::vector<float> x(length);
    float phase = 0.0f;
    for (float& v : x) {
        v = wave == Waveform::Saw ? 2.0f * phase - 1.0f : (phase < 0.5f ? 1.0f : -1.0f);
        phase += static_cast<float>(hz) / synth::sampleRate;
        if (phase >= 1.0f) phase -= 1.0f;
    }
    return x;
}
} // namespace

// Aliasing is measured as all power off the harmonic series, including the images folded to just
// below Nyquist, which the two-sample correction reduces least.
TEST(OscillatorAliasing, BandLimitedSawAliasesFarLessThanANaiveOne) {
    for (int hz : {440, 2489}) { // 2489 Hz: only eight harmonics fit below Nyquist, the rest fold back
        const double plain = aliasingDb(naive(Waveform::Saw, hz), hz);
        const double blep = aliasingDb(render(Waveform::Saw, hz), hz);
        EXPECT_LT(blep, plain - 12.0) << hz;
    }
    EXPECT_LT(aliasingDb(render(Waveform::Saw, 440), 440), -33.0);
    EXPECT_GT(aliasingDb(naive(Waveform::Saw, 2489), 2489), -15.0); // the naive saw folds audibly
}

TEST(OscillatorAliasing, BandLimitedSquareAliasesFarLessThanANaiveOne) {
    for (int hz : {220, 1733}) {
        EXPECT_LT(aliasingDb(render(Waveform::Square, hz), hz),
                  aliasingDb(naive(Waveform::Square, hz), hz) - 12.0)
            << hz;
    }
}

TEST(OscillatorWaveforms, SineIsPureAndFullScale) {
    const std::vector<float> x = render(Waveform::Sine, 440);
    EXPECT_LT(aliasingDb(x, 440), -55.0);     // what is left is float phase drift, not distortion
    EXPECT_NEAR(binPower(x, 440), 0.5, 1e-3); // amplitude 1
}

TEST(OscillatorWaveforms, SawAndSquareSpanMinusOneToOneWithoutOffset) {
    for (Waveform w : {Waveform::Saw, Waveform::Square}) {
        const std::vector<float> x = render(w, 100);
        double mean = 0.0;
        float lo = 0.0f;
        float hi = 0.0f;
        for (float v : x) {
            mean += v;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        EXPECT_NEAR(mean / length, 0.0, 0.01);
        EXPECT_NEAR(hi, 1.0f, 0.05f);
        EXPECT_NEAR(lo, -1.0f, 0.05f);
    }
}

TEST(OscillatorWaveforms, FmWithZeroIndexIsASine) {
    Oscillator fm;
    Oscillator sine;
    synth::Rng rng(1);
    for (int i = 0; i < 1000; ++i) {
        const float a = fm.next(Waveform::Fm, 0.01f, rng, 3.5f, 0.0f);
        const float b = sine.next(Waveform::Sine, 0.01f, rng);
        ASSERT_NEAR(a, b, 1e-5f);
    }
}

TEST(OscillatorWaveforms, FmIndexAddsSidebandsAtTheModulatorSpacing) {
    Oscillator osc;
    synth::Rng rng(1);
    std::vector<float> x(length);
    for (float& v : x) v = osc.next(Waveform::Fm, 1000.0f / synth::sampleRate, rng, 0.5f, 1.0f);
    // Carrier 1000 Hz, modulator 500 Hz: sidebands at 500 and 1500 Hz, nothing at 750 Hz.
    EXPECT_GT(binPower(x, 1500), 0.01);
    EXPECT_GT(binPower(x, 500), 0.01);
    EXPECT_LT(binPower(x, 750), 1e-8);
}
