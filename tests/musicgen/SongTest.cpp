#include "synth/Song.h"
#include "synth/Dsp.h"
#include "synth/Effects.h"

#include <gtest/gtest.h>

#include <cmath>

using synth::Song;
using synth::StereoBuffer;
using synth::Track;

namespace {
Track toneTrack(double start, float duration) {
    Track t;
    t.name = "tone";
    t.synth.wave1 = synth::Waveform::Sine;
    t.synth.filterOn = false;
    t.synth.amp = synth::AdsrShape{0.005f, 0.1f, 1.0f, 0.05f};
    t.synth.gain = 0.5f;
    synth::Note n;
    n.start = start;
    n.duration = duration;
    n.pitch = 69.0f;
    t.notes.push_back(n);
    return t;
}

float peakBetween(const StereoBuffer& b, double from, double to) {
    float p = 0.0f;
    for (size_t i = static_cast<size_t>(synth::secondsToSamples(from));
         i < static_cast<size_t>(synth::secondsToSamples(to)) && i < b.frames(); ++i)
        p = std::max({p, std::fabs(b.left[i]), std::fabs(b.right[i])});
    return p;
}
} // namespace

TEST(SongRendering, ADryTrackLeavesNothingAfterItsRelease) {
    Song song;
    song.length = 3.0;
    song.tracks.push_back(toneTrack(0.5, 0.5f));
    const StereoBuffer mix = synth::renderSong(song);
    EXPECT_GT(peakBetween(mix, 0.6, 0.9), 0.2f);
    EXPECT_EQ(peakBetween(mix, 0.0, 0.49), 0.0f);
    EXPECT_EQ(peakBetween(mix, 1.2, 3.0), 0.0f);
}

TEST(SongRendering, AReverbSendLeavesATailAfterTheNote) {
    Song song;
    song.length = 3.0;
    song.tracks.push_back(toneTrack(0.5, 0.5f));
    song.tracks[0].reverbSend = 0.5f;
    const StereoBuffer mix = synth::renderSong(song);
    EXPECT_GT(peakBetween(mix, 1.2, 1.6), 1e-3f);
}

TEST(SongRendering, DuckedTracksDipAtTheTriggers) {
    Song song;
    song.length = 2.0;
    song.tracks.push_back(toneTrack(0.0, 2.0f));
    song.tracks[0].ducked = true;
    song.duck = synth::DuckSettings{0.8f, 0.004f, 0.2f};
    song.duckTriggers = {1.0};
    const StereoBuffer mix = synth::renderSong(song);
    EXPECT_LT(peakBetween(mix, 0.999, 1.003), 0.15f);
    EXPECT_GT(peakBetween(mix, 0.7, 0.9), 0.34f); // 0.5 at the centre of a constant-power pan
}

TEST(SongRendering, TheFadeOutEndsInSilence) {
    Song song;
    song.length = 3.0;
    song.tracks.push_back(toneTrack(0.0, 3.0f));
    song.fadeOutStart = 1.0;
    song.fadeOutEnd = 2.0;
    const StereoBuffer mix = synth::renderSong(song);
    EXPECT_GT(peakBetween(mix, 0.5, 1.0), 0.34f);
    EXPECT_NEAR(peakBetween(mix, 1.495, 1.505), 0.177f, 0.01f); // half-way down
    EXPECT_EQ(peakBetween(mix, 2.0, 3.0), 0.0f);
}

TEST(Mastering, BringsTheMixToTheTargetUnderTheCeiling) {
    Song song;
    song.length = 6.0;
    for (int i = 0; i < 12; ++i) song.tracks.push_back(toneTrack(0.5 * i, 0.3f));
    StereoBuffer mix = synth::renderSong(song);
    synth::MasterSettings settings;
    settings.targetLufs = -16.0;
    settings.limiter.ceilingDb = -3.0f;
    const synth::MasterReport report = synth::masterMix(mix, settings);
    EXPECT_NEAR(synth::integratedLoudness(mix), -16.0, 0.2);
    EXPECT_NEAR(report.loudness, -16.0, 0.2);
    EXPECT_LE(synth::maxTruePeakDb(mix), -3.0f + 0.05f);
}

TEST(ChorusEffect, WithNoWetShareTheSignalIsUnchanged) {
    StereoBuffer b(10000);
    synth::Rng rng(5);
    for (size_t i = 0; i < b.frames(); ++i) b.left[i] = b.right[i] = rng.nextBipolar();
    const StereoBuffer dry = b;
    synth::applyChorus(b, synth::ChorusSettings{0.5f, 3.0f, 10.0f, 0.0f});
    EXPECT_EQ(b.left, dry.left);
}

TEST(ChorusEffect, WidensAMonoSignal) {
    StereoBuffer b(44100);
    for (size_t i = 0; i < b.frames(); ++i)
        b.left[i] = b.right[i] = std::sin(synth::twoPi * 440.0f * static_cast<float>(i) / synth::sampleRate);
    synth::applyChorus(b, synth::ChorusSettings{0.8f, 4.0f, 10.0f, 0.5f});
    double side = 0.0;
    for (size_t i = 5000; i < b.frames(); ++i) side += std::fabs(b.left[i] - b.right[i]);
    EXPECT_GT(side / static_cast<double>(b.frames() - 5000), 0.05);
}
