#include "synth/Drums.h"
#include "synth/Dsp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using synth::DrumKind;
using synth::DrumPatch;
using synth::StereoBuffer;

namespace {
DrumPatch punchyKick(float click) {
    DrumPatch p;
    p.kind = DrumKind::Kick;
    p.pitchHz = 49.0f;
    p.sweepHz = 220.0f;
    p.sweepTime = 0.032f;
    p.decay = 0.48f;
    p.noiseLevel = 0.0f;
    p.click = click;
    p.clickHz = 2600.0f;
    p.drive = 0.55f;
    p.gain = 1.0f;
    return p;
}
} // namespace

TEST(KickAttack, TheKnockIsShapedNotAClickAndTheHitStillStartsAtOnce) {
    for (float click : {0.4f, 0.7f}) {
        StereoBuffer b(synth::sampleRate);
        synth::renderDrum(punchyKick(click), 0.1, 1.0f, 0.0f, 7u, b);
        const size_t start = static_cast<size_t>(synth::secondsToSamples(0.1));
        float peak = 0.0f;
        float step = 0.0f;
        for (size_t i = 1; i < b.frames(); ++i) {
            peak = std::max(peak, std::fabs(b.left[i]));
            step = std::max(step, std::fabs(b.left[i] - b.left[i - 1]));
        }
        // A full-band noise burst jumps by more than the drum's own peak between two samples.
        EXPECT_LT(step, 0.5f * peak) << "click " << click;
        // Half the peak within a millisecond: the onset is still where the score put it.
        size_t half = start;
        while (half < b.frames() && std::fabs(b.left[half]) < 0.5f * peak) ++half;
        EXPECT_LT(half - start, static_cast<size_t>(synth::sampleRate / 1000)) << "click " << click;
        for (size_t i = 0; i < start; ++i) ASSERT_EQ(b.left[i], 0.0f);
    }
}

TEST(ReversedHit, SwellsIntoItsTimeAndStopsThereWithoutAnEdge) {
    DrumPatch crash;
    crash.kind = DrumKind::Crash;
    crash.toneHz = 4200.0f;
    crash.decay = crash.noiseDecay = 1.0f;
    crash.reversed = true;
    StereoBuffer b(2 * synth::sampleRate);
    synth::renderDrum(crash, 1.5, 1.0f, 0.0f, 3u, b);
    const size_t at = static_cast<size_t>(synth::secondsToSamples(1.5));
    auto peakIn = [&](size_t from, size_t to) {
        float p = 0.0f;
        for (size_t i = from; i < to; ++i) p = std::max(p, std::fabs(b.left[i]));
        return p;
    };
    for (size_t i = at; i < b.frames(); ++i) ASSERT_EQ(b.left[i], 0.0f) << "nothing after its time";
    const size_t ms = synth::sampleRate / 1000;
    EXPECT_GT(peakIn(at - 50 * ms, at), 20.0f * peakIn(at - 900 * ms, at - 850 * ms)); // a swell
    EXPECT_LT(peakIn(at - 8, at), 0.1f * peakIn(at - 50 * ms, at));                    // faded out, no edge
}
