#include "synth/Dynamics.h"
#include "synth/Dsp.h"

#include <gtest/gtest.h>

#include <cmath>

using synth::StereoBuffer;

namespace {
StereoBuffer sine(float hz, float amplitude, float seconds) {
    StereoBuffer b(static_cast<size_t>(seconds * synth::sampleRate));
    for (size_t i = 0; i < b.frames(); ++i) {
        const float v = amplitude * std::sin(synth::twoPi * hz * static_cast<float>(i) / synth::sampleRate);
        b.left[i] = v;
        b.right[i] = v;
    }
    return b;
}
} // namespace

TEST(LimiterCeiling, NoTruePeakPassesTheCeiling) {
    StereoBuffer b = sine(3000.0f, 0.5f, 2.0f);
    synth::Rng rng(9);
    // Bursts and single-sample spikes well over full scale, and a fast near-Nyquist tone whose
    // peaks fall between samples.
    for (size_t i = 20000; i < 24000; ++i) b.left[i] *= 4.0f;
    for (size_t i = 40000; i < 80000; i += 997) b.right[i] = 3.0f * rng.nextBipolar();
    for (size_t i = 60000; i < 61000; ++i)
        b.left[i] = 1.5f * std::sin(synth::pi * 0.49f * static_cast<float>(i) + 0.7f);
    synth::applyLimiter(b, synth::LimiterSettings{-1.0f, 0.002f, 0.08f});
    EXPECT_LE(synth::maxTruePeakDb(b), -1.0f + 0.05f);
}

TEST(LimiterCeiling, LeavesSignalsBelowTheCeilingUntouched) {
    const StereoBuffer quiet = sine(440.0f, 0.3f, 0.5f);
    StereoBuffer b = quiet;
    synth::applyLimiter(b, synth::LimiterSettings{-1.0f, 0.002f, 0.08f});
    EXPECT_EQ(b.left, quiet.left);
    EXPECT_EQ(b.right, quiet.right);
}

TEST(LimiterCeiling, RecoversAfterAPeak) {
    StereoBuffer b = sine(200.0f, 0.5f, 2.0f);
    for (size_t i = 1000; i < 1100; ++i) b.left[i] = 2.0f;
    synth::applyLimiter(b, synth::LimiterSettings{-1.0f, 0.002f, 0.05f});
    // Half a second later the gain is back: the sine has its full amplitude again.
    float late = 0.0f;
    for (size_t i = 30000; i < 31000; ++i) late = std::max(late, std::fabs(b.left[i]));
    EXPECT_NEAR(late, 0.5f, 0.005f);
}

TEST(TruePeak, SeesPeaksBetweenSamples) {
    // A quarter-rate sine sampled at +-45 degrees: samples reach 0.707 of its real peak.
    StereoBuffer b(4000);
    for (size_t i = 0; i < b.frames(); ++i)
        b.left[i] = std::sin(synth::pi * 0.5f * static_cast<float>(i) + synth::pi * 0.25f);
    float samplePeak = 0.0f;
    for (float v : b.left) samplePeak = std::max(samplePeak, std::fabs(v));
    EXPECT_NEAR(samplePeak, 0.707f, 0.01f);
    EXPECT_NEAR(synth::maxTruePeakDb(b), 0.0f, 0.3f);
}

TEST(IntegratedLoudness, FullScaleReferenceSineReadsItsLevel) {
    // A 1 kHz tone in both channels reads its peak level in LUFS.
    const float level = std::pow(10.0f, -23.0f / 20.0f);
    EXPECT_NEAR(synth::integratedLoudness(sine(1000.0f, level, 5.0f)), -23.0, 0.1);
}

TEST(IntegratedLoudness, SilenceIsGatedOut) {
    StereoBuffer tone = sine(1000.0f, 0.1f, 4.0f);
    StereoBuffer withGap(tone.frames() + 3 * synth::sampleRate);
    withGap.mixIn(tone, 1.0f);
    // Ungated, three seconds of silence in seven would read 2.4 dB lower; only the blocks that
    // straddle the end of the tone may pull it down a little.
    EXPECT_NEAR(synth::integratedLoudness(withGap), synth::integratedLoudness(tone), 0.25);
}

TEST(IntegratedLoudness, LowFrequenciesWeighLess) {
    EXPECT_LT(synth::integratedLoudness(sine(40.0f, 0.1f, 3.0f)),
              synth::integratedLoudness(sine(1000.0f, 0.1f, 3.0f)) - 2.0);
}

TEST(Ducking, DipsToDepthAtTheTriggerAndRecovers) {
    const synth::DuckSettings s{0.6f, 0.004f, 0.2f};
    const std::vector<float> curve = synth::duckingCurve({0.5}, s, synth::sampleRate);
    const size_t trigger = synth::sampleRate / 2;
    EXPECT_NEAR(curve[trigger], 0.4f, 0.01f);
    EXPECT_FLOAT_EQ(curve[trigger - 1000], 1.0f);
    EXPECT_GT(curve[trigger + synth::sampleRate / 4], 0.98f);
    for (size_t i = trigger; i + 1 < trigger + 4000; ++i) ASSERT_LE(curve[i], curve[i + 1] + 1e-6f);
}

namespace {
// A 200 Hz tone at the given level (dB of peak) from `from` seconds on, silence before.
synth::StereoBuffer toneFrom(double from, float db, double seconds) {
    synth::StereoBuffer b(static_cast<size_t>(seconds * synth::sampleRate));
    const float a = synth::dbToGain(db);
    for (size_t i = static_cast<size_t>(from * synth::sampleRate); i < b.frames(); ++i)
        b.left[i] = b.right[i] =
            a * std::sin(synth::twoPi * 200.0f * static_cast<float>(i) / synth::sampleRate);
    return b;
}
float peakDb(const synth::StereoBuffer& b, double from, double to) {
    float p = 1e-9f;
    for (size_t i = static_cast<size_t>(from * synth::sampleRate);
         i < static_cast<size_t>(to * synth::sampleRate); ++i)
        p = std::max(p, std::fabs(b.left[i]));
    return synth::gainToDb(p);
}
} // namespace

TEST(Compressor, SettlesAtTheRatioAndLetsTheFirstMillisecondsThrough) {
    const synth::CompressorSettings s{
        .thresholdDb = -20.0f, .ratio = 4.0f, .attack = 0.02f, .release = 0.1f, .kneeDb = 0.0f};
    synth::StereoBuffer b = toneFrom(0.1, -8.0f, 1.0);
    synth::applyCompressor(b, s);
    // 12 dB over at 4:1 leaves 3 dB over the threshold once settled.
    EXPECT_NEAR(peakDb(b, 0.7, 0.9), -17.0f, 0.5f);
    // The attack has barely begun 2 ms in: the front of the hit keeps its punch.
    EXPECT_GT(peakDb(b, 0.1, 0.102), -9.5f);
}

TEST(Compressor, LeavesQuietPassagesAndTheSidesBalanceAlone) {
    synth::StereoBuffer b = toneFrom(0.0, -30.0f, 0.5);
    for (size_t i = 0; i < b.frames(); ++i) b.right[i] *= 0.5f;
    const synth::StereoBuffer dry = b;
    synth::applyCompressor(b, {.thresholdDb = -20.0f, .ratio = 3.0f, .kneeDb = 6.0f});
    EXPECT_EQ(b.left, dry.left); // 10 dB under a 6 dB knee: untouched
    synth::StereoBuffer loud = toneFrom(0.0, -6.0f, 0.5);
    for (size_t i = 0; i < loud.frames(); ++i) loud.right[i] *= 0.5f;
    synth::applyCompressor(loud, {.thresholdDb = -20.0f, .ratio = 3.0f});
    // Linked detection: both sides get the same gain, so the image stays where it was.
    for (size_t i = 1000; i < loud.frames(); i += 997)
        EXPECT_NEAR(loud.right[i], 0.5f * loud.left[i], 1e-6f) << i;
}

TEST(TransientShaper, LiftsTheFrontOfAHitAgainstItsBody) {
    // A struck tone: instant start, slow decay.
    synth::StereoBuffer hit(synth::sampleRate / 2);
    for (size_t i = 0; i < hit.frames(); ++i) {
        const float t = static_cast<float>(i) / synth::sampleRate;
        hit.left[i] = hit.right[i] = 0.5f * std::exp(-t * 4.0f) * std::sin(synth::twoPi * 300.0f * t);
    }
    auto frontOverBody = [](const synth::StereoBuffer& b) {
        return peakDb(b, 0.0, 0.004) - peakDb(b, 0.2, 0.25);
    };
    synth::StereoBuffer shaped = hit;
    synth::applyTransientShaper(shaped, {.attackDb = 6.0f, .sustainDb = -3.0f});
    EXPECT_GT(frontOverBody(shaped), frontOverBody(hit) + 4.0f);
    for (float v : shaped.left) ASSERT_TRUE(std::isfinite(v));
}
