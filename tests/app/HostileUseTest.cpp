// The program used as a hostile but fair user would: signals at any moment, damaged data, sizes
// smaller than the frame, values that would overflow, shots that never come, broken outputs.
#include "support/PngRead.h"
#include "support/RunProgram.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

std::string withData(const std::string& args, const std::string& data = dataDir()) {
    return args + " --data '" + data + "'";
}

// The program under `timeout -s SIGNAL seconds`, its exit status as the shell reports it.
std::string statusAfterSignal(const std::string& signal, const std::string& seconds,
                              const std::string& args) {
    return shellOutput("env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "
                       "timeout --preserve-status -s " +
                       signal + " " + seconds + " '" + CASTRELLE_TEST_BINARY + "' " + args +
                       " >/dev/null 2>&1; echo $?");
}

// A data folder of links to the generated data, with some files replaced.
std::string dataWith(const std::string& name, void (*change)(const fs::path& dir)) {
    const fs::path dir = freshTempDir(name);
    for (const char* sub : {"Images", "Models", "Music"}) {
        fs::create_directory(dir / sub);
        for (const fs::directory_entry& e : fs::directory_iterator(fs::path(dataDir()) / sub))
            fs::create_symlink(e.path(), dir / sub / e.path().filename());
    }
    change(dir);
    return dir.string();
}

TEST(HostileUse, SignalsEndTheProgramFromItsFirstMomentWithTheirStatus) {
    // During start-up (loading) and during the capture itself; before, a signal in the first
    // third of a second was lost and the capture ran to its end.
    const std::string args = withData("--capture null --no-music --size 64x64");
    EXPECT_EQ(statusAfterSignal("TERM", "0.05", args), "143\n");
    EXPECT_EQ(statusAfterSignal("INT", "0.3", args), "130\n");
    EXPECT_EQ(statusAfterSignal("TERM", "4", args), "143\n");
}

TEST(HostileUse, DamagedModelFileEndsTheStartWithTheFileError) {
    const std::string data = dataWith("castrelle_damaged_model", [](const fs::path& dir) {
        fs::remove(dir / "Models" / "backball.3ds");
        std::ofstream(dir / "Models" / "backball.3ds"); // empty
    });
    const RunResult r = runProgram(withData("--shot 100 --size 64x64 --no-music --out '" + data + "'", data));
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("Can't load file Models/backball.3ds"), std::string::npos) << r.err;
}

// The 512 x 512 frame reaches an output smaller than it whole: the same picture as at 800 x 600,
// not its lower-left corner.
TEST(HostileUse, OutputSmallerThanTheFrameShowsTheWholeFrame) {
    const std::string small = freshTempDir("castrelle_small"), large = freshTempDir("castrelle_large");
    const std::string shot = "--shot 8000 --fps 10 --no-music";
    ASSERT_EQ(runProgram(withData(shot + " --size 400x300 --out '" + small + "'")).status, 0);
    ASSERT_EQ(runProgram(withData(shot + " --size 800x600 --out '" + large + "'")).status, 0);
    RgbImage a, b;
    ASSERT_TRUE(readPng(small + "/shot_008000.png", a));
    ASSERT_TRUE(readPng(large + "/shot_008000.png", b));
    ASSERT_EQ(a.width, 400);
    // Compare the mean green of a 4 x 3 grid of blocks; the top and right ones were black.
    for (int by = 0; by < 3; ++by) {
        for (int bx = 0; bx < 4; ++bx) {
            const double sa = a.mean(100 * bx, 100 * by, 100 * bx + 100, 100 * by + 100, 1);
            const double sb = b.mean(200 * bx, 200 * by, 200 * bx + 200, 200 * by + 200, 1);
            EXPECT_NEAR(sa, sb, 4.0 + 0.1 * sb) << "block " << bx << ", " << by;
        }
    }
}

// A larger frame is the same picture with more detail, not another composition.
TEST(HostileUse, LargerFrameGivesTheSamePicture) {
    const std::string base = freshTempDir("castrelle_frame512"), large = freshTempDir("castrelle_frame1024");
    const std::string shot = "--shot 8000 --fps 10 --no-music --size 400x300";
    ASSERT_EQ(runProgram(withData(shot + " --frame 512 --out '" + base + "'")).status, 0);
    ASSERT_EQ(runProgram(withData(shot + " --frame 1024 --out '" + large + "'")).status, 0);
    RgbImage a, b;
    ASSERT_TRUE(readPng(base + "/shot_008000.png", a));
    ASSERT_TRUE(readPng(large + "/shot_008000.png", b));
    for (int by = 0; by < 3; ++by) {
        for (int bx = 0; bx < 4; ++bx) {
            for (int c = 0; c < 3; ++c) {
                const double sa = a.mean(100 * bx, 100 * by, 100 * bx + 100, 100 * by + 100, c);
                const double sb = b.mean(100 * bx, 100 * by, 100 * bx + 100, 100 * by + 100, c);
                EXPECT_NEAR(sa, sb, 4.0 + 0.1 * sa) << "block " << bx << ", " << by << " channel " << c;
            }
        }
    }
    EXPECT_EQ(runProgram("--capture null --frame 700").status, 2);
}

TEST(HostileUse, ValuesThatWouldOverflowAreRefusedOrHandled) {
    const RunResult start = runProgram(withData("--start 2147483647 --no-music --windowed"));
    EXPECT_EQ(start.status, 2);
    EXPECT_NE(start.err.find("before the end of the show"), std::string::npos) << start.err;
    EXPECT_EQ(runProgram("--capture null --from 286500").status, 2);
    // One frame every 3,000,000 seconds: the show is one frame long.
    const RunResult slow = runProgram(withData("--capture null --fps 1/3000000 --no-music --size 64x64"));
    EXPECT_EQ(slow.status, 0) << slow.err;
}

TEST(HostileUse, ShotsPastTheEndOfTheShowAreNamedAndFail) {
    const std::string out = freshTempDir("castrelle_late_shots");
    const RunResult r = runProgram(
        withData("--shot 2147483647,290000,1000 --fps 1 --size 64x64 --no-music --out '" + out + "'"), ".",
        300);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("not written"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("290000 2147483647"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::exists(out + "/shot_001000.png"));
    EXPECT_FALSE(fs::exists(out + "/shot_290000.png"));
}

TEST(HostileUse, VideoOutputsFailCleanlyAndSayWhy) {
    const RunResult missing = runProgram(withData("--capture /nonexistent/folder/v.mp4 --no-music"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("/nonexistent/folder does not exist"), std::string::npos) << missing.err;
    EXPECT_EQ(missing.err.find("ffmpeg"), std::string::npos) << missing.err;

    // No encoder to be found: nothing is left behind.
    const std::string dir = freshTempDir("castrelle_no_ffmpeg");
    const std::string noEncoder = shellOutput(
        "cd '" + dir + "' && env PATH=/nonexistent SDL_VIDEODRIVER=offscreen '" + CASTRELLE_TEST_BINARY +
        "' --capture v.mp4 --no-music --size 64x64 --data '" + dataDir() + "' >/dev/null 2>&1; echo $?");
    EXPECT_EQ(noEncoder, "1\n");
    EXPECT_TRUE(fs::is_empty(dir));

    // Extensions are read without regard to case.
    const RunResult upper =
        runProgram(withData("--capture '" + dir + "/OUT.MP4' --to 300 --size 64x64 --no-music"));
    EXPECT_EQ(upper.status, 0) << upper.err;
    EXPECT_TRUE(fs::is_regular_file(dir + "/OUT.MP4"));
}

// A soundtrack shorter than the video is padded with silence: every frame is kept.
TEST(HostileUse, SoundtrackShorterThanTheVideoIsPaddedWithSilence) {
    const std::string data = dataWith("castrelle_short_music", [](const fs::path& dir) {
        fs::remove(dir / "Music" / "cq.mp3");
        shellOutput("ffmpeg -v error -f lavfi -i anullsrc=r=44100:cl=stereo -t 1 -c:a libmp3lame '" +
                    (dir / "Music" / "cq.mp3").string() + "'");
    });
    const std::string video = data + "/v.mp4";
    const RunResult r =
        runProgram(withData("--capture '" + video + "' --to 2000 --fps 30 --size 64x64", data));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Wrote"), std::string::npos);
    EXPECT_EQ(r.err.find("failed"), std::string::npos) << r.err;
    const std::string frames = shellOutput("ffprobe -v error -select_streams v -count_frames -show_entries "
                                           "stream=nb_read_frames -of csv=p=0 '" +
                                           video + "'");
    EXPECT_EQ(frames, "60\n");
}

} // namespace
