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

TEST(TrackPlacement, PanAndLevelArcsShapeTheTrackWhereTheySay) {
    Song song;
    song.length = 3.0;
    song.tracks.push_back(toneTrack(0.0, 3.0f));
    const StereoBuffer centred = synth::renderSong(song);
    song.tracks[0].pan = -1.0f;
    song.tracks[0].levelDb.to(1.0, 0.0f).to(1.2, -12.0f).to(2.0, -12.0f).to(2.2, 0.0f);
    const StereoBuffer moved = synth::renderSong(song);
    float right = 0.0f;
    for (float v : moved.right) right = std::max(right, std::fabs(v));
    EXPECT_EQ(right, 0.0f);
    // Hard left at constant power: the left side carries all of it, +3 dB over the centre.
    EXPECT_NEAR(peakBetween(moved, 0.5, 0.9) / peakBetween(centred, 0.5, 0.9), std::sqrt(2.0f), 0.01f);
    EXPECT_NEAR(synth::gainToDb(peakBetween(moved, 1.4, 1.9) / peakBetween(moved, 0.5, 0.9)), -12.0f, 0.1f);
    EXPECT_NEAR(peakBetween(moved, 2.4, 2.9), peakBetween(moved, 0.5, 0.9), 1e-3f);
}

TEST(TrackPlacement, ALowPassSweepOpensAsItGoes) {
    Song song;
    song.length = 2.0;
    Track t = toneTrack(0.0, 2.0f);
    t.synth.wave1 = synth::Waveform::Saw;
    t.notes[0].pitch = 81.0f; // 880 Hz with harmonics above it
    t.eq = {{synth::EqShape::LowCut, 3000.0f}};
    t.lowPassHz.to(0.0, 200.0f).to(2.0, 16000.0f);
    song.tracks.push_back(t);
    const StereoBuffer mix = synth::renderSong(song);
    EXPECT_GT(peakBetween(mix, 1.7, 1.9), 20.0f * peakBetween(mix, 0.2, 0.4));
}

TEST(MixBus, LowsFoldToMonoWhileHighsKeepTheirPlace) {
    StereoBuffer b(synth::sampleRate);
    for (size_t i = 0; i < b.frames(); ++i) {
        const float t = static_cast<float>(i) / synth::sampleRate;
        // A bass tone only on the left, a treble tone only on the right.
        b.left[i] = 0.5f * std::sin(synth::twoPi * 50.0f * t);
        b.right[i] = 0.5f * std::sin(synth::twoPi * 3000.0f * t);
    }
    const StereoBuffer dry = b;
    synth::monoBelow(b, 120.0f);
    // Split the result back into its tones with the same kind of filters.
    StereoBuffer lows = b;
    synth::applyEq(lows, {{synth::EqShape::HighCut, 400.0f}, {synth::EqShape::HighCut, 400.0f}});
    StereoBuffer highs = b;
    synth::applyEq(highs, {{synth::EqShape::LowCut, 1000.0f}, {synth::EqShape::LowCut, 1000.0f}});
    double bassSide = 0.0;
    double bassMid = 0.0;
    double trebleLeft = 0.0;
    double trebleRight = 0.0;
    double sumPower = 0.0;
    double drySumPower = 0.0;
    for (size_t i = b.frames() / 2; i < b.frames(); ++i) {
        bassSide += std::fabs(lows.left[i] - lows.right[i]);
        bassMid += std::fabs(lows.left[i] + lows.right[i]);
        trebleLeft += std::fabs(highs.left[i]);
        trebleRight += std::fabs(highs.right[i]);
        sumPower += std::pow(b.left[i] + b.right[i], 2.0);
        drySumPower += std::pow(dry.left[i] + dry.right[i], 2.0);
    }
    EXPECT_LT(bassSide, 0.05 * bassMid);            // the bass now plays from both sides alike
    EXPECT_LT(trebleLeft, 0.001 * trebleRight);     // the treble stayed on the right
    EXPECT_NEAR(sumPower / drySumPower, 1.0, 0.01); // and the mono sum kept its level
}
