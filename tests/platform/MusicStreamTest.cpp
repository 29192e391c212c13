#include "platform/MusicStream.h"

#include "platform/Ticks.h"
#include "support/TempPath.h"
#include "support/TestMp3.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

namespace {

// Seeks must read back exactly, give or take the time that passes before the read: at most one
// audio buffer (1024 samples, 23 ms).
constexpr int kBufferMs = 24;

std::string testMp3() {
    static const std::string path = [] {
        const std::string p = testTempPath("music.mp3").string();
        if (!writeTestMp3(p, 3.0)) return std::string();
        return p;
    }();
    return path;
}

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

class MusicStreamModes : public ::testing::TestWithParam<bool> {};

TEST_P(MusicStreamModes, SeekReadsBackWithinOneBuffer) {
    ASSERT_FALSE(testMp3().empty());
    MusicStream music;
    ASSERT_TRUE(music.open(testMp3().c_str(), GetParam()));
    ASSERT_TRUE(music.play());
    for (int target : {1500, 250, 2900, 0}) {
        const unsigned before = tickCount();
        music.setPosition(target);
        const int pos = music.position();
        const int elapsed = static_cast<int>(tickCount() - before); // a loaded machine may stall us
        EXPECT_GE(pos, target);
        EXPECT_LE(pos, target + kBufferMs + elapsed);
    }
}

TEST_P(MusicStreamModes, PositionAdvancesInRealTimeAndPastTheEnd) {
    MusicStream music;
    ASSERT_TRUE(music.open(testMp3().c_str(), GetParam()));
    ASSERT_TRUE(music.play());
    music.setPosition(music.lengthMs() + 5000);
    // Each read is bracketed by the clock, so a loaded machine stalling us anywhere in between
    // widens the window the advance must fall in rather than failing the test.
    const unsigned beforeRead = tickCount();
    const int before = music.position();
    const unsigned afterRead = tickCount();
    sleepMs(200);
    const unsigned beforeSecondRead = tickCount();
    const int advanced = music.position() - before;
    const unsigned afterSecondRead = tickCount();
    EXPECT_GE(advanced, static_cast<int>(beforeSecondRead - afterRead) - 2 * kBufferMs);
    EXPECT_LE(advanced, static_cast<int>(afterSecondRead - beforeRead) + 2 * kBufferMs);
}

INSTANTIATE_TEST_SUITE_P(SilentAndWithDevice, MusicStreamModes, ::testing::Values(false, true));

TEST(MusicStream, NegativeSeekGoesToZero) {
    MusicStream music;
    ASSERT_TRUE(music.open(testMp3().c_str(), false));
    music.play();
    music.setPosition(-50);
    EXPECT_LE(music.position(), kBufferMs);
}

TEST(MusicStream, LengthMatchesTheEncodedAudio) {
    MusicStream music;
    ASSERT_TRUE(music.open(testMp3().c_str(), false));
    EXPECT_NEAR(music.lengthMs(), 3000, 2); // gapless decoding drops encoder delay and padding
}

TEST(MusicStream, MissingOrUndecodableFilesDoNotOpen) {
    MusicStream music;
    EXPECT_FALSE(music.open("/nonexistent/cq.mp3", false));
    const auto junk = testTempPath("junk.mp3");
    FILE* f = std::fopen(junk.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    for (int i = 0; i < 5000; ++i) std::fputc((i * 7919) & 0x7f, f);
    std::fclose(f);
    EXPECT_FALSE(music.open(junk.c_str(), false));
    EXPECT_FALSE(music.isOpen());
    EXPECT_FALSE(music.play());
}

} // namespace
