#include "synth/Voice.h"
#include "synth/Drums.h"
#include "synth/Dsp.h"
#include "synth/Effects.h"

#include <gtest/gtest.h>

#include <cmath>

using synth::StereoBuffer;

namespace {
size_t firstNonZero(const std::vector<float>& x) {
    for (size_t i = 0; i < x.size(); ++i)
        if (x[i] != 0.0f) return i;
    return x.size();
}
size_t lastNonZero(const std::vector<float>& x) {
    for (size_t i = x.size(); i > 0; --i)
        if (x[i - 1] != 0.0f) return i - 1;
    return 0;
}
// Zero crossings per second over a stretch: twice the frequency of a clean tone.
double crossingRate(const std::vector<float>& x, size_t begin, size_t end) {
    int crossings = 0;
    for (size_t i = begin + 1; i < end; ++i) crossings += (x[i - 1] < 0.0f) != (x[i] < 0.0f);
    return crossings * static_cast<double>(synth::sampleRate) / static_cast<double>(end - begin);
}
} // namespace

TEST(VoiceRendering, ANoteStartsOnItsSampleAndEndsAfterItsRelease) {
    synth::SynthPatch patch;
    patch.amp = synth::AdsrShape{0.001f, 0.1f, 0.7f, 0.05f};
    synth::Note note;
    note.start = 0.5;
    note.duration = 0.25f;
    StereoBuffer out(synth::sampleRate * 2);
    synth::renderNote(patch, note, 1u, out);
    EXPECT_EQ(firstNonZero(out.left), static_cast<size_t>(synth::sampleRate / 2 + 1));
    const double end = static_cast<double>(lastNonZero(out.left)) / synth::sampleRate;
    EXPECT_GT(end, 0.75 + 0.03);
    EXPECT_LT(end, 0.75 + 0.09);
}

TEST(VoiceRendering, PitchFollowsTheNote) {
    synth::SynthPatch patch;
    patch.wave1 = synth::Waveform::Sine;
    patch.filterOn = false;
    synth::Note note;
    note.start = 0.0;
    note.duration = 1.0f;
    note.pitch = 69.0f;
    StereoBuffer out(synth::sampleRate);
    synth::renderNote(patch, note, 1u, out);
    EXPECT_NEAR(crossingRate(out.left, 4410, 40000), 880.0, 3.0);
}

TEST(VoiceRendering, UnisonSpreadsAcrossTheStereoField) {
    synth::SynthPatch patch;
    patch.unison = 5;
    patch.unisonDetuneCents = 20.0f;
    patch.stereoWidth = 1.0f;
    synth::Note note;
    note.duration = 1.0f;
    StereoBuffer out(synth::sampleRate);
    synth::renderNote(patch, note, 1u, out);
    double diff = 0.0;
    double sum = 0.0;
    for (size_t i = 0; i < out.frames(); ++i) {
        diff += std::fabs(out.left[i] - out.right[i]);
        sum += std::fabs(out.left[i] + out.right[i]);
    }
    EXPECT_GT(diff, 0.2 * sum);
}

TEST(DrumRendering, KickSweepsDownToItsBodyPitch) {
    synth::DrumPatch kick;
    kick.kind = synth::DrumKind::Kick;
    kick.pitchHz = 50.0f;
    kick.sweepHz = 300.0f;
    kick.sweepTime = 0.02f;
    kick.decay = 1.0f;
    kick.click = 0.0f;
    kick.noiseLevel = 0.0f;
    StereoBuffer out(synth::sampleRate);
    synth::renderDrum(kick, 0.0, 1.0f, 0.0f, 1u, out);
    const double early = crossingRate(out.left, 0, 441) / 2.0;     // first 10 ms
    const double late = crossingRate(out.left, 8820, 22050) / 2.0; // 0.2 - 0.5 s
    EXPECT_GT(early, 200.0);
    EXPECT_NEAR(late, 50.0, 4.0);
}

TEST(DrumRendering, HitsDecayBySixtyDecibelsInTheirDecayTime) {
    synth::DrumPatch hat;
    hat.kind = synth::DrumKind::Hat;
    hat.noiseDecay = 0.1f;
    hat.decay = 0.1f;
    StereoBuffer out(synth::sampleRate / 2);
    synth::renderDrum(hat, 0.0, 1.0f, 0.0f, 1u, out);
    auto peakIn = [&](size_t a, size_t b) {
        float p = 0.0f;
        for (size_t i = a; i < b; ++i) p = std::max(p, std::fabs(out.left[i]));
        return p;
    };
    const float start = peakIn(0, 441);
    const float at100ms = peakIn(4410, 4851);
    EXPECT_NEAR(20.0f * std::log10(at100ms / start), -60.0f, 6.0f);
}

TEST(EffectTails, ReverbAndDelayRingAfterAnImpulseAndDie) {
    for (int effect = 0; effect < 2; ++effect) {
        StereoBuffer b(synth::sampleRate * 12);
        b.left[100] = 1.0f;
        if (effect == 0) {
            synth::applyReverb(b, synth::ReverbSettings{});
        } else {
            synth::applyDelay(b, synth::DelaySettings{0.25f, 0.3f, 0.5f, 0.5f, 4000.0f});
        }
        float early = 0.0f;
        float late = 0.0f;
        for (size_t i = 0; i < static_cast<size_t>(synth::sampleRate); ++i)
            early = std::max(early, std::fabs(b.right[i]));
        for (size_t i = 10 * synth::sampleRate; i < b.frames(); ++i)
            late = std::max(late, std::fabs(b.left[i]));
        EXPECT_GT(early, 1e-3f) << effect; // reaches the other side
        EXPECT_LT(late, early * 1e-3f) << effect;
    }
}

TEST(EffectTails, DelayEchoesAfterTheTimeInForceAtEachMoment) {
    StereoBuffer b(synth::sampleRate * 4);
    b.left[0] = 1.0f;                     // before the change: echo after 0.25 s
    b.left[2 * synth::sampleRate] = 1.0f; // after it: echo after 0.4 s
    synth::applyDelay(b, synth::DelaySettings{0.25f, 0.25f, 0.0f, 0.0f, 20000.0f}, {{1.0, 0.4f, 0.4f}});
    auto loudestIn = [&](size_t a, size_t e) {
        size_t best = a;
        for (size_t i = a; i < e; ++i)
            if (std::fabs(b.left[i]) > std::fabs(b.left[best])) best = i;
        return best;
    };
    EXPECT_EQ(loudestIn(1, synth::sampleRate), static_cast<size_t>(synth::sampleRate / 4));
    EXPECT_EQ(loudestIn(2 * synth::sampleRate + 1, 3 * synth::sampleRate),
              static_cast<size_t>(2 * synth::sampleRate + synth::secondsToSamples(0.4)));
}
