#include "score/Score.h"
#include "synth/Dsp.h"
#include "synth/Mp3Encoder.h"
#include "synth/Song.h"

#include <gtest/gtest.h>

namespace {
// The first seconds of the real soundtrack: every note past the end is skipped.
synth::Song openingStretch(double seconds) {
    synth::Song song = score::composeSoundtrack();
    song.length = seconds;
    return song;
}
} // namespace

TEST(Determinism, RenderingTheSameStretchTwiceGivesTheSameSamples) {
    synth::flushDenormals();
    const synth::StereoBuffer a = synth::renderSong(openingStretch(6.0));
    const synth::StereoBuffer b = synth::renderSong(openingStretch(6.0));
    ASSERT_EQ(a.frames(), static_cast<size_t>(6 * synth::sampleRate));
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.right, b.right);
    float peak = 0.0f;
    for (float v : a.left) peak = std::max(peak, std::fabs(v));
    EXPECT_GT(peak, 0.01f); // not silence
}

TEST(Determinism, MasteringAndEncodingTwiceGiveTheSameBytes) {
    synth::flushDenormals();
    auto once = [] {
        synth::StereoBuffer mix = synth::renderSong(openingStretch(5.0));
        synth::masterMix(mix, synth::MasterSettings{});
        return synth::encodeMp3(mix, synth::Mp3Settings{});
    };
    const std::vector<uint8_t> first = once();
    const std::vector<uint8_t> second = once();
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first, second);
}

TEST(Determinism, TheScoreIsTheSameOnEveryCall) {
    const synth::Song a = score::composeSoundtrack();
    const synth::Song b = score::composeSoundtrack();
    ASSERT_EQ(a.tracks.size(), b.tracks.size());
    for (size_t t = 0; t < a.tracks.size(); ++t) {
        ASSERT_EQ(a.tracks[t].notes.size(), b.tracks[t].notes.size()) << a.tracks[t].name;
        for (size_t n = 0; n < a.tracks[t].notes.size(); ++n) {
            EXPECT_EQ(a.tracks[t].notes[n].start, b.tracks[t].notes[n].start);
            EXPECT_EQ(a.tracks[t].notes[n].pitch, b.tracks[t].notes[n].pitch);
        }
    }
}
