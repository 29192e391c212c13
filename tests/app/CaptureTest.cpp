#include "app/Capture.h"

#include "support/RunProgram.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <thread>

namespace {

TEST(FixedStep, FrameTimesAreExactAtWholeAndFractionalRates) {
    EXPECT_EQ(fixedStepTime(0, 60, 1, 0), 0);
    EXPECT_EQ(fixedStepTime(1, 60, 1, 0), 16);
    EXPECT_EQ(fixedStepTime(3, 60, 1, 0), 50);
    EXPECT_EQ(fixedStepTime(300, 60, 1, 0), 5000);
    EXPECT_EQ(fixedStepTime(60, 60, 1, 41800), 42800);
    // NTSC rate: 60000/1001 frames per second, 1001/60 ms per frame.
    EXPECT_EQ(fixedStepTime(60, 60000, 1001, 0), 1001);
    EXPECT_EQ(fixedStepTime(17190, 60, 1, 0), 286500);
}

TEST(FixedStep, FrameCountCoversTheRangeOnce) {
    EXPECT_EQ(fixedStepFrameCount(60, 1, 0, 286500), 17190);
    EXPECT_EQ(fixedStepFrameCount(60, 1, 0, 1), 1);
    EXPECT_EQ(fixedStepFrameCount(30, 1, 1000, 2000), 30);
    const int64_t n = fixedStepFrameCount(60000, 1001, 0, 10000);
    EXPECT_LT(fixedStepTime(n - 1, 60000, 1001, 0), 10000);
    EXPECT_GE(fixedStepTime(n, 60000, 1001, 0), 10000);
}

// Captures use the generated data, wherever the test runs.
std::string withData(const std::string& args) { return args + " --data '" + dataDir() + "'"; }

// The scenes carry state from frame to frame, so a range is drawn from the show's start: its
// frames are the whole capture's frames from the range on, file for file. Captures are
// deterministic, so the two sets hash alike. A folder that holds a capture's frames already is
// refused, not mixed with another run's nor emptied.
TEST(CaptureProgram, ARangeHoldsTheWholeCapturesFrames) {
    const std::string whole = freshTempDir("castrelle_capture_whole");
    const std::string range = freshTempDir("castrelle_capture_range");
    const std::string common = " --to 1300 --fps 20 --size 160x120 --no-music";
    ASSERT_EQ(runProgram(withData("--capture '" + whole + "'" + common)).status, 0);
    // 1010 ms lies between frames: the range starts at the next one, 1050 ms.
    ASSERT_EQ(runProgram(withData("--capture '" + range + "' --from 1010" + common)).status, 0);
    EXPECT_TRUE(std::filesystem::exists(whole + "/frame_000025.png"));
    EXPECT_FALSE(std::filesystem::exists(whole + "/frame_000026.png"));
    EXPECT_TRUE(std::filesystem::exists(range + "/frame_000004.png"));
    EXPECT_FALSE(std::filesystem::exists(range + "/frame_000005.png"));
    for (int k = 0; k < 5; ++k) {
        char a[32], b[32];
        std::snprintf(a, sizeof a, "/frame_%06d.png", 21 + k);
        std::snprintf(b, sizeof b, "/frame_%06d.png", k);
        EXPECT_EQ(shellOutput("sha1sum < '" + whole + a + "'"), shellOutput("sha1sum < '" + range + b + "'"))
            << "range frame " << k;
    }
    const std::string before = shellOutput("sha1sum '" + range + "'/*");
    const RunResult again =
        runProgram(withData("--capture '" + range + "' --to 300 --fps 20 --size 160x120 --no-music"));
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("already holds the frames of an earlier capture"), std::string::npos)
        << again.err;
    EXPECT_EQ(shellOutput("sha1sum '" + range + "'/*"), before);
}

TEST(CaptureProgram, ShotsAreWrittenForEachRequestedTime) {
    const std::string out = freshTempDir("castrelle_shots");
    const RunResult r = runProgram(withData("--shot 200,50 --out '" + out + "' --size 64x64 --no-music"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(std::filesystem::exists(out + "/shot_000050.png"));
    EXPECT_TRUE(std::filesystem::exists(out + "/shot_000200.png"));
}

TEST(CaptureProgram, VideoHasTheFramesAndSizeAsked) {
    const std::string dir = freshTempDir("castrelle_video");
    const RunResult r =
        runProgram(withData("--capture '" + dir + "/v.mp4' --to 1000 --size 320x240 --fps 30 --no-music"));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string probe = shellOutput("ffprobe -v error -select_streams v -count_frames -show_entries "
                                          "stream=width,height,nb_read_frames -of csv=p=0 '" +
                                          dir + "/v.mp4'");
    EXPECT_EQ(probe, "320,240,30\n");
}

TEST(CaptureProgram, BadCaptureOptionsAreRejected) {
    EXPECT_EQ(runProgram("--capture x.mp4 --size 801x600").status, 2);
    EXPECT_EQ(runProgram("--capture x.mp4 --fps 0").status, 2);
    EXPECT_EQ(runProgram("--capture x.mp4 --from 5000 --to 4000").status, 2);
    EXPECT_EQ(runProgram("--capture null --from 1001 --to 1010").status, 2); // no 60 fps frame inside
    EXPECT_EQ(runProgram("--shot 1,x").status, 2);
    // Contradictions and limits are refused with what is allowed.
    for (const char* both : {"--shot 100 --capture x.mp4", "--capture x.mp4 --shot 100"}) {
        const RunResult r = runProgram(both);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("--shot and --capture cannot be used together"), std::string::npos) << r.err;
    }
    const RunResult small = runProgram("--capture x.mp4 --size 64x48");
    EXPECT_EQ(small.status, 2);
    EXPECT_NE(
        small.err.find("bad value '64x48' for --size (width and height from 64 to 8192, multiples of 4)"),
        std::string::npos)
        << small.err;
    EXPECT_NE(runProgram("--help").out.find("from 64 to 8192"), std::string::npos);
}

// Captures dir/v.mkv with the given options, sends the signal once the shell test `ready` holds
// (run in dir, where the capture's standard error goes to "progress"), and gives its exit status.
std::string interruptedCaptureStatus(const std::string& dir, const std::string& options,
                                     const std::string& ready, const std::string& signal = "INT") {
    return shellOutput("cd '" + dir + "' && { env -u DISPLAY SDL_VIDEODRIVER=offscreen '" +
                       CASTRELLE_TEST_BINARY + "' --capture v.mkv " + options +
                       " --size 320x240 --no-music --data '" + dataDir() +
                       "' >/dev/null 2>progress & pid=$!; for i in $(seq 600); do " + ready +
                       " && break; sleep 0.1; done; kill -" + signal + " $pid; wait $pid; echo $?; }");
}

// Ctrl-C, SIGTERM or a closed terminal (SIGHUP) during a capture still leaves a playable file
// holding the frames done so far, and nothing else.
TEST(CaptureProgram, InterruptedVideoIsStillPlayable) {
    const std::string dir = freshTempDir("castrelle_interrupt");
    const std::string video = dir + "/v.mkv";
    // The signal comes once the encoder has written something, however long loading took. The
    // video is written under a temporary name until it is whole.
    EXPECT_EQ(interruptedCaptureStatus(
                  dir, "", "find . -name 'v.partial-*.mkv' -size +0 | grep -q . && sleep 0.5", "HUP"),
              "129\n");
    const std::string frames = shellOutput("ffprobe -v error -select_streams v -count_frames -show_entries "
                                           "stream=nb_read_frames -of csv=p=0 '" +
                                           video + "'");
    ASSERT_FALSE(frames.empty());
    EXPECT_GT(std::stoi(frames), 10);
    EXPECT_EQ(shellOutput("ls -A '" + dir + "'"), "progress\nv.mkv\n");
}

// Stopped while it is still drawing the show up to its range, a capture has no frame to keep:
// the file already there stays as it was.
TEST(CaptureProgram, VideoInterruptedBeforeItsRangeLeavesTheTargetAlone) {
    const std::string dir = freshTempDir("castrelle_interrupt_early");
    std::FILE* old = std::fopen((dir + "/v.mkv").c_str(), "w");
    ASSERT_NE(old, nullptr);
    std::fputs("an older video", old);
    std::fclose(old);
    EXPECT_EQ(interruptedCaptureStatus(dir, "--from 200000", "grep -q frames progress"), "130\n");
    EXPECT_EQ(shellOutput("cat '" + dir + "/v.mkv'"), "an older video");
    EXPECT_EQ(shellOutput("ls -A '" + dir + "'"), "progress\nv.mkv\n");
}

} // namespace
