// The live player's frame-size choice on synthetic frame times: steps down when frames miss the
// display's frame time, up when a larger size fits with room, never back and forth.
#include "app/FrameSizeGovernor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace {

constexpr double kTarget = 1000.0 / 60.0;

// A machine: the time a frame takes to draw at a size, and what it costs on top to show it.
struct Machine {
    std::function<double(int size, double atMs)> drawMs;
    double showMs = 0.0;
    bool vsync = false; // frames wait for the display's refresh
};

struct Change {
    double atMs;
    int to;
};

// Plays for ms of frames and returns the size changes the governor made.
std::vector<Change> play(FrameSizeGovernor& governor, const Machine& machine, double ms) {
    std::vector<Change> changes;
    for (double clock = 0.0; clock < ms;) {
        const int size = governor.size();
        const double busy = machine.drawMs(size, clock);
        double interval = busy + machine.showMs;
        if (machine.vsync) interval = kTarget * std::ceil(interval / kTarget - 1e-9);
        clock += interval;
        if (governor.frameDone(busy, interval) != size) changes.push_back({clock, governor.size()});
    }
    return changes;
}

// Drawing cost in proportion to the pixels, ms at 512.
std::function<double(int, double)> pixelBound(double at512) {
    return [at512](int size, double) { return at512 * (size / 512.0) * (size / 512.0); };
}

TEST(FrameSizeGovernor, StepsDownWhileFramesMissAndStaysAtTheFloor) {
    FrameSizeGovernor governor(kTarget, 512, 256, 512);
    const auto changes = play(governor, {[](int, double) { return 40.0; }}, 10000.0);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].to, 384);
    EXPECT_EQ(changes[1].to, 256);
    EXPECT_LT(changes[1].atMs, 2500.0); // a step within about half a second of frames each
}

TEST(FrameSizeGovernor, StepsUpToTheCeilingWhenLargerSizesFit) {
    FrameSizeGovernor governor(kTarget, 256, 256, 1024);
    play(governor, {pixelBound(2.0), 0.0, true}, 10000.0);
    EXPECT_EQ(governor.size(), 1024); // 8 ms at 1024: fits
    governor.setCeiling(768);
    EXPECT_EQ(governor.size(), 768); // a smaller window lowers it at once
    // 512 would take 14 ms of the 16.7: it would fit, but without the room a step up asks for.
    FrameSizeGovernor held(kTarget, 256, 256, 1024);
    play(held, {pixelBound(14.0), 0.0, true}, 10000.0);
    EXPECT_EQ(held.size(), 384);
}

// Most of this machine's frame does not grow with its pixels. A heavy stretch drives it from 512
// to 384, which shows what the step really costs; once the load eases, 512 is taken again,
// though its pixels alone would say it does not fit.
TEST(FrameSizeGovernor, AStepCheaperThanItsPixelsIsLearntAndTaken) {
    FrameSizeGovernor governor(kTarget, 512, 256, 512);
    const auto partlyPixels = [](int size, double atMs) {
        return (atMs < 5000.0 ? 14.0 : 6.0) + 4.0 * (size / 512.0) * (size / 512.0);
    };
    const auto changes = play(governor, {partlyPixels}, 30000.0);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].to, 384);
    EXPECT_LT(changes[0].atMs, 1500.0);
    EXPECT_EQ(changes[1].to, 512);
    EXPECT_GT(changes[1].atMs, 5000.0);
}

TEST(FrameSizeGovernor, OneStalledFrameIsNoReasonToStepDown) {
    FrameSizeGovernor governor(kTarget, 512, 256, 512);
    int frame = 0;
    const auto changes =
        play(governor, {[&frame](int, double) { return ++frame % 40 == 0 ? 250.0 : 8.0; }}, 20000.0);
    EXPECT_TRUE(changes.empty());
}

// The drawing fits at 512 but showing the frame costs more than the prediction knows: 512 misses
// every time it is tried. The tries come ever further apart.
TEST(FrameSizeGovernor, ASizeThatKeepsMissingIsTriedEverMoreRarely) {
    FrameSizeGovernor governor(kTarget, 512, 256, 512);
    const auto changes = play(governor, {pixelBound(11.0), 8.0}, 300000.0);
    std::vector<double> tries;
    for (const Change& c : changes) {
        if (c.to == 512)
            tries.push_back(c.atMs);
        else
            EXPECT_EQ(c.to, 384);
    }
    ASSERT_GE(tries.size(), 4u);
    EXPECT_LE(tries.size(), 7u); // waits of 4, 8, 16, 32, 64 and 128 s
    for (size_t i = 2; i < tries.size(); ++i)
        EXPECT_GT(tries[i] - tries[i - 1], 1.8 * (tries[i - 1] - tries[i - 2])) << "try " << i;
}

TEST(FrameSizeGovernor, AfterARestartTheNextFramesDoNotCount) {
    FrameSizeGovernor governor(kTarget, 512, 256, 512);
    play(governor, {[](int, double) { return 8.0; }}, 2000.0);
    governor.restartWindow();
    // The jump's frames are slow; fewer than the settling frames must not move the size.
    for (int i = 0; i < FrameSizeGovernor::kSettleFrames; ++i) governor.frameDone(900.0, 900.0);
    play(governor, {[](int, double) { return 8.0; }}, 2000.0);
    EXPECT_EQ(governor.size(), 512);
}

} // namespace
