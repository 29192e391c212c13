#include "app/DemoClock.h"
#include "app/FrameRate.h"

#include "platform/MusicStream.h"
#include "support/TempPath.h"
#include "support/TestMp3.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// A tick-mode clock whose base puts the demo time at `time` when the tick counter reads `now`.
DemoClock tickClock(unsigned now, int time) {
    DemoClock clock;
    clock.musicEnabled = false;
    clock.tickBase = now - static_cast<unsigned>(time);
    return clock;
}

TEST(TickClock, FirstFrameCountsFromTheBase) {
    DemoClock clock = tickClock(5000, 0);
    EXPECT_EQ(clock.read(5321), 321);
}

TEST(TickClock, PauseHoldsTheTimeAndResumesFromIt) {
    DemoClock clock = tickClock(100000, 50000);
    EXPECT_EQ(clock.read(100000), 50000);
    clock.pressKey(Key::F9, 100000);
    EXPECT_EQ(clock.read(100016), 50000);
    EXPECT_EQ(clock.read(107000), 50000);
    clock.pressKey(Key::F9, 107000);
    EXPECT_EQ(clock.read(107500), 50500);
}

TEST(TickClock, LeftStepsBackOnlyPastTwoHundred) {
    DemoClock early = tickClock(10000, 150);
    early.pressKey(Key::Left, 10000);
    EXPECT_EQ(early.read(10000), 150);
    DemoClock later = tickClock(10000, 250);
    later.pressKey(Key::Left, 10000);
    EXPECT_EQ(later.read(10000), 50);
}

TEST(TickClock, DownStepsBackOnlyPastOneSecond) {
    DemoClock early = tickClock(10000, 1000);
    early.pressKey(Key::Down, 10000);
    EXPECT_EQ(early.read(10000), 1000);
    DemoClock later = tickClock(10000, 1500);
    later.pressKey(Key::Down, 10000);
    EXPECT_EQ(later.read(10000), 500);
}

TEST(TickClock, RightAndUpStepForward) {
    DemoClock clock = tickClock(10000, 0);
    clock.pressKey(Key::Right, 10000);
    EXPECT_EQ(clock.read(10000), 100);
    clock.pressKey(Key::Up, 10000);
    EXPECT_EQ(clock.read(10000), 1100);
}

// A section jump moves the clock, and a pause holds at the new time.
TEST(TickClock, AJumpMovesTheTimeAndAPauseHoldsThere) {
    DemoClock clock = tickClock(100000, 90000);
    clock.jumpTo(41800, 100000);
    EXPECT_EQ(clock.read(100016), 41816);
    clock.pressKey(Key::F9, 100016);
    clock.jumpTo(164000, 100500);
    EXPECT_EQ(clock.read(101000), 164000);
}

TEST(Keys, EscapeRequestsQuitAndOthersDoNot) {
    DemoClock clock = tickClock(0, 0);
    EXPECT_TRUE(clock.pressKey(Key::Escape, 0));
    EXPECT_FALSE(clock.pressKey(Key::Other, 0));
    EXPECT_FALSE(clock.pressKey(Key::F9, 0));
}

class MusicClock : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto path = testTempPath("clock_music.mp3").string();
        ASSERT_TRUE(writeTestMp3(path, 3.0));
        ASSERT_TRUE(music.open(path.c_str(), false));
        ASSERT_TRUE(music.play());
        clock.music = &music;
    }
    MusicStream music;
    DemoClock clock;
};

// Reads are allowed the few milliseconds that pass between a seek and the read.
constexpr int kSlackMs = 20;

TEST_F(MusicClock, FirstFrameSeeksToTheStartOffset) {
    clock.startOffset = 1200;
    const int t = clock.read(0);
    EXPECT_GE(t, 1200);
    EXPECT_LE(t, 1200 + kSlackMs);
    EXPECT_FALSE(clock.seekPending);
}

TEST_F(MusicClock, DownAtFourHundredSeeksToZero) {
    clock.read(0);
    music.setPosition(400);
    clock.pressKey(Key::Down, 0);
    EXPECT_LE(music.position(), kSlackMs);
}

TEST_F(MusicClock, LeftStepsBackOneHundred) {
    clock.read(0);
    music.setPosition(1000);
    clock.pressKey(Key::Left, 0);
    EXPECT_GE(music.position(), 900);
    EXPECT_LE(music.position(), 900 + kSlackMs);
}

// Unlike a seek, a jump made while paused is where the pause then holds; before the first frame
// it wins over the start offset.
TEST_F(MusicClock, AJumpWhilePausedHoldsAtItsTarget) {
    clock.startOffset = 2000;
    clock.jumpTo(500, 0);
    clock.pressKey(Key::F9, 0);
    clock.jumpTo(1500, 0);
    const int t = clock.read(0);
    EXPECT_GE(t, 1500);
    EXPECT_LE(t, 1500 + kSlackMs);
}

TEST_F(MusicClock, SeekWhilePausedIsUndoneNextFrame) {
    clock.read(0);
    music.setPosition(2000);
    clock.pressKey(Key::F9, 0);
    const int held = clock.pausedPosition;
    clock.pressKey(Key::Up, 0);
    EXPECT_GE(music.position(), held + 1000);
    const int t = clock.read(0);
    EXPECT_GE(t, held);
    EXPECT_LE(t, held + kSlackMs);
}

TEST(FrameRate, FirstFrameSamplesOneThenOncePerSecond) {
    FrameRate rate;
    rate.countFrame(50000);
    EXPECT_EQ(rate.framesPerSecond, 1);
    for (unsigned t = 50010; t <= 51000; t += 10) rate.countFrame(t);
    EXPECT_EQ(rate.framesPerSecond, 1); // 1000 ms is not yet more than 1000
    rate.countFrame(51001);
    EXPECT_EQ(rate.framesPerSecond, 101);
    EXPECT_EQ(rate.frameCounter, 0);
}

} // namespace
