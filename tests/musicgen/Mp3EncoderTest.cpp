#include "synth/Mp3Encoder.h"
#include "synth/Dsp.h"

#include <gtest/gtest.h>
#include <mpg123.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

using synth::StereoBuffer;

namespace {
// Decodes with libmpg123 in gapless mode, as the player does: float stereo frames.
StereoBuffer decodeGapless(const std::vector<uint8_t>& mp3) {
    mpg123_init();
    int err = 0;
    mpg123_handle* h = mpg123_new(nullptr, &err);
    mpg123_param(h, MPG123_FLAGS, MPG123_GAPLESS | MPG123_FORCE_FLOAT | MPG123_QUIET, 0.0);
    mpg123_format_none(h);
    mpg123_format(h, synth::sampleRate, MPG123_STEREO, MPG123_ENC_FLOAT_32);
    mpg123_open_feed(h);
    mpg123_feed(h, mp3.data(), mp3.size());
    StereoBuffer out;
    std::vector<unsigned char> block(1 << 16);
    for (;;) {
        size_t done = 0;
        const int rc = mpg123_read(h, block.data(), block.size(), &done);
        const float* f = reinterpret_cast<const float*>(block.data());
        for (size_t i = 0; i + 1 < done / sizeof(float); i += 2) {
            out.left.push_back(f[i]);
            out.right.push_back(f[i + 1]);
        }
        if (rc != MPG123_OK && rc != MPG123_NEW_FORMAT) break;
    }
    mpg123_delete(h);
    return out;
}

size_t loudestFrame(const std::vector<float>& x) {
    size_t best = 0;
    for (size_t i = 0; i < x.size(); ++i)
        if (std::fabs(x[i]) > std::fabs(x[best])) best = i;
    return best;
}
} // namespace

TEST(Mp3Gapless, AClickAtSampleNDecodesAtSampleN) {
    for (size_t n : {size_t{1000}, size_t{30001}, size_t{77777}}) {
        StereoBuffer in(100000);
        in.left[n] = 0.9f;
        in.right[n] = -0.9f;
        const StereoBuffer out = decodeGapless(synth::encodeMp3(in, synth::Mp3Settings{}));
        ASSERT_EQ(out.frames(), in.frames());
        EXPECT_EQ(loudestFrame(out.left), n);
        EXPECT_EQ(loudestFrame(out.right), n);
    }
}

TEST(Mp3Gapless, TheFileStartsWithTheLameTagFrame) {
    StereoBuffer in(44100);
    const std::vector<uint8_t> mp3 = synth::encodeMp3(in, synth::Mp3Settings{});
    ASSERT_GT(mp3.size(), 400u);
    EXPECT_EQ(mp3[0], 0xFF); // a frame sync right at the start, no ID3 tag before it
    EXPECT_EQ(mp3[1] & 0xE0, 0xE0);
    const std::string head(mp3.begin(), mp3.begin() + 400);
    EXPECT_NE(head.find("Info"), std::string::npos); // the CBR form of the Xing header
    EXPECT_NE(head.find("LAME"), std::string::npos);
}

TEST(Mp3Gapless, ToneSurvivesEncodingAtItsLevel) {
    StereoBuffer in(44100);
    for (size_t i = 0; i < in.frames(); ++i)
        in.left[i] = in.right[i] = 0.5f * std::sin(synth::twoPi * 440.0f * i / 44100.0f);
    const StereoBuffer out = decodeGapless(synth::encodeMp3(in, synth::Mp3Settings{}));
    ASSERT_EQ(out.frames(), in.frames());
    double err = 0.0;
    double sig = 0.0;
    for (size_t i = 2000; i < in.frames() - 2000; ++i) {
        err += (out.left[i] - in.left[i]) * (out.left[i] - in.left[i]);
        sig += in.left[i] * in.left[i];
    }
    EXPECT_LT(10.0 * std::log10(err / sig), -30.0); // aligned to the sample, so the difference is small
}
