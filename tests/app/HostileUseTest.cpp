// The program used as a hostile but fair user would: signals at any moment, damaged data, sizes
// smaller than the frame, values that would overflow, shots that never come, broken outputs.
#include "support/PngRead.h"
#include "support/RunProgram.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <sstream>
#include <sys/stat.h>

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
std::string dataWith(const std::string& name, const std::function<void(const fs::path& dir)>& change) {
    const fs::path dir = freshTempDir(name);
    for (const char* sub : {"Images", "Models", "Music"}) {
        fs::create_directory(dir / sub);
        for (const fs::directory_entry& e : fs::directory_iterator(fs::path(dataDir()) / sub))
            fs::create_symlink(e.path(), dir / sub / e.path().filename());
    }
    change(dir);
    return dir.string();
}

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

int occurrences(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

std::string videoFrames(const fs::path& video) {
    return shellOutput("ffprobe -v error -select_streams v -count_frames -show_entries stream=nb_read_frames "
                       "-of csv=p=0 '" +
                       video.string() + "' 2>&1");
}

// The program as runProgram starts it, for scripts; `env` execs it, so $! is the program's own pid.
std::string programCommand(const std::string& args) {
    return std::string(
               "env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy '") +
           CASTRELLE_TEST_BINARY + "' " + args;
}

TEST(HostileUse, SignalsEndTheProgramFromItsFirstMomentWithTheirStatus) {
    // During start-up (loading) and during the capture itself; before, a signal in the first
    // third of a second was lost and the capture ran to its end.
    const std::string args = withData("--capture null --no-music --size 64x64");
    EXPECT_EQ(statusAfterSignal("TERM", "0.05", args), "143\n");
    EXPECT_EQ(statusAfterSignal("INT", "0.3", args), "130\n");
    EXPECT_EQ(statusAfterSignal("TERM", "4", args), "143\n");
    EXPECT_EQ(statusAfterSignal("HUP", "0.3", args), "129\n");
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

// Shots past the end of the show are named at once, before minutes of rendering; a video too slow
// to hold a frame a second and a target that is neither a video nor a folder likewise.
TEST(HostileUse, WhatCannotBeMadeIsRefusedBeforeRendering) {
    const std::string out = freshTempDir("castrelle_late_shots");
    const RunResult r = runProgram(
        withData("--shot 2147483647,290000,1000 --size 64x64 --no-music --out '" + out + "'"), ".", 10);
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find(": 290000 2147483647"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::is_empty(out));
    const RunResult slow = runProgram(withData("--capture '" + out + "/v.mp4' --fps 1/1000"), ".", 10);
    EXPECT_EQ(slow.status, 2);
    EXPECT_NE(slow.err.find("at least one frame a second"), std::string::npos) << slow.err;
    const RunResult odd = runProgram(withData("--capture '" + out + "/v.webm'"), ".", 10);
    EXPECT_EQ(odd.status, 2);
    EXPECT_NE(odd.err.find("(.mp4, .mkv)"), std::string::npos) << odd.err;
    EXPECT_TRUE(fs::is_empty(out));
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

// A soundtrack shorter than the video is padded with silence: every frame is kept, and the user is
// told once.
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
    EXPECT_EQ(occurrences(r.err, "the soundtrack ends at 1.0 s, before the show (286.5 s)"), 1) << r.err;
    const std::string frames = shellOutput("ffprobe -v error -select_streams v -count_frames -show_entries "
                                           "stream=nb_read_frames -of csv=p=0 '" +
                                           video + "'");
    EXPECT_EQ(frames, "60\n");
}

// A capture writes beside its target and puts the video in its place only once it is whole: a
// run that fails leaves what was there, and nothing the run did not make is removed.
TEST(HostileUse, VideoReplacesItsTargetOnlyWhenFinished) {
    const std::string emptyMusic = dataWith("castrelle_empty_music", [](const fs::path& dir) {
        fs::remove(dir / "Music" / "cq.mp3");
        std::ofstream(dir / "Music" / "cq.mp3");
    });
    const fs::path out = freshTempDir("castrelle_keep_target");
    const fs::path show = out / "show.mp4";
    std::ofstream(show) << "the user's own video";
    fs::create_directory(out / "x.mp4");
    const std::string small = " --to 300 --size 64x64";

    EXPECT_EQ(runProgram(withData("--capture '" + show.string() + "'" + small, emptyMusic)).status, 1);
    EXPECT_EQ(fileText(show), "the user's own video");
    const RunResult folder =
        runProgram(withData("--capture '" + (out / "x.mp4").string() + "' --no-music" + small));
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.err.find("x.mp4 is a folder"), std::string::npos) << folder.err;
    EXPECT_TRUE(fs::is_directory(out / "x.mp4"));

    // With its sound, at a frame rate so low that the encoder holds back more picture than the
    // pipes hold sound: the sound must run ahead of the frames, or both sides wait for ever.
    const RunResult good =
        runProgram(withData("--capture '" + show.string() + "' --to 2000 --fps 10 --size 64x64"));
    EXPECT_EQ(good.status, 0) << good.err;
    EXPECT_EQ(videoFrames(show), "20\n");
    EXPECT_EQ(
        shellOutput("ffprobe -v error -show_entries stream=codec_type -of csv=p=0 '" + show.string() + "'"),
        "video\naudio\n");
    // No temporary file and no log stay behind.
    EXPECT_EQ(shellOutput("ls -A '" + out.string() + "'"), "show.mp4\nx.mp4\n");
}

// An encoder that stops reading (ffmpeg blocked opening an input) neither keeps the program from
// ending on a signal nor outlives it, even when the program is killed outright.
TEST(HostileUse, StalledEncoderNeverOutlivesTheProgram) {
    const fs::path dir = freshTempDir("castrelle_stalled_encoder");
    fs::create_directory(dir / "bin");
    std::ofstream(dir / "bin" / "ffmpeg")
        << "#!/bin/sh\necho $$ > '" << (dir / "encoder.pid").string() << "'\nexec sleep 600\n";
    fs::permissions(dir / "bin" / "ffmpeg", fs::perms::owner_all);
    // Starts a capture, lets the pipe to the encoder fill, sends the signal and gives the exit
    // status ("hung" after ten seconds), then whether the encoder still runs.
    auto stop = [&](const std::string& signal) {
        return shellOutput(
            "alive() { grep -qs '^State:.*[RSDT]' /proc/$1/status; }; cd '" + dir.string() +
            "' && rm -f encoder.pid && { PATH='" + (dir / "bin").string() + ":'\"$PATH\" " +
            programCommand("--capture v.mp4 --no-music --size 64x64 --data '" + dataDir() + "'") +
            " >/dev/null 2>&1 & pid=$!; for i in $(seq 600); do [ -s encoder.pid ] && break; sleep 0.1; "
            "done; "
            "sleep 1; kill -" +
            signal +
            " $pid; for i in $(seq 100); do alive $pid || break; sleep 0.1; done; "
            "alive $pid && { echo hung; kill -KILL $pid; }; wait $pid; echo $?; sleep 0.5; e=$(cat "
            "encoder.pid); "
            "alive $e && { echo encoder left running; kill -KILL $e; }; }");
    };
    EXPECT_EQ(stop("TERM"), "143\n");
    EXPECT_EQ(shellOutput("ls -A '" + dir.string() + "'"), "bin\nencoder.pid\n");
    EXPECT_EQ(stop("KILL"), "137\n");
}

// A FIFO (or a device) in place of a data file would block its reading for ever: it is refused as
// a file that cannot be read. A damaged file read many times over (the stars' model, some fifty
// times) is reported once. Each box reads "Can't load file <path>"; the system's reason follows on
// a line of its own.
TEST(HostileUse, DataFilesThatAreNotRegularFilesAreRefused) {
    const std::string data = dataWith("castrelle_fifos", [](const fs::path& dir) {
        for (const char* file : {"Images/valko.jpg", "Models/hipu.3ds", "Music/cq.mp3"}) {
            fs::remove(dir / file);
            ASSERT_EQ(mkfifo((dir / file).c_str(), 0644), 0);
        }
        fs::remove(dir / "Models" / "ball.3ds");
        fs::create_symlink(dir / "Models" / "gone.3ds", dir / "Models" / "ball.3ds");
        const fs::path stars = dir / "Models" / "tahti3bt.3ds";
        const std::string whole = fileText(stars);
        fs::remove(stars);
        std::ofstream(stars, std::ios::binary) << whole.substr(0, whole.size() / 2);
    });
    const RunResult shots =
        runProgram(withData("--shot 100 --size 64x64 --no-music --out '" + data + "'", data), ".", 30);
    EXPECT_EQ(shots.status, 1) << shots.err;
    EXPECT_EQ(occurrences(shots.err, "Can't load file Images/valko.jpg"), 1) << shots.err;
    EXPECT_EQ(occurrences(shots.err, "Can't load file Models/hipu.3ds"), 1) << shots.err;
    EXPECT_EQ(occurrences(shots.err, "Can't load file Models/tahti3bt.3ds"), 1) << shots.err;
    EXPECT_EQ(occurrences(shots.err, "File read error: Can't load file Models/hipu.3ds\n"
                                     "castrelle: cannot read Models/hipu.3ds: not a regular file\n"),
              1)
        << shots.err;
    EXPECT_EQ(occurrences(shots.err, "cannot read Models/ball.3ds: No such file or directory\n"), 1)
        << shots.err;
    EXPECT_EQ(occurrences(shots.err, "cannot read Images/valko.jpg: not a regular file\n"), 1) << shots.err;
    const RunResult play = runProgram(withData("--windowed", data), ".", 30);
    EXPECT_EQ(play.status, 1) << play.err;
    EXPECT_NE(play.err.find("Can't load file Music/cq.mp3 (not a regular file)"), std::string::npos)
        << play.err;
}

// A soundtrack the player cannot decode is refused by a video capture before its first frame,
// with the reason; the player and the capture accept the same files.
TEST(HostileUse, BrokenSoundtrackIsRefusedBeforeTheFirstFrame) {
    const std::string noise = dataWith("castrelle_noise_music", [](const fs::path& dir) {
        fs::remove(dir / "Music" / "cq.mp3");
        std::ofstream f(dir / "Music" / "cq.mp3", std::ios::binary);
        std::mt19937 bytes(32);
        for (int i = 0; i < 300000; ++i) f.put(static_cast<char>(bytes()));
    });
    const std::string wave = dataWith("castrelle_wave_music", [](const fs::path& dir) {
        fs::remove(dir / "Music" / "cq.mp3");
        shellOutput("ffmpeg -v error -f lavfi -i sine=d=1 -f wav '" + (dir / "Music" / "cq.mp3").string() +
                    "'");
    });
    const std::string rate48 = dataWith("castrelle_48k_music", [](const fs::path& dir) {
        fs::remove(dir / "Music" / "cq.mp3");
        shellOutput("ffmpeg -v error -f lavfi -i sine=d=1:sample_rate=48000 -ac 2 -c:a libmp3lame '" +
                    (dir / "Music" / "cq.mp3").string() + "'");
    });
    const RunResult other = runProgram(withData("--capture '" + rate48 + "/v.mp4' --size 64x64", rate48));
    EXPECT_EQ(other.status, 1);
    // The decoder's own complaint is not printed beside ours.
    EXPECT_EQ(other.err,
              "File read error: Can't load file Music/cq.mp3 (no MP3 audio in it that plays at 44100 "
              "Hz: it plays at 48000 Hz)\n");
    for (const std::string& data : {noise, wave}) {
        const RunResult capture =
            runProgram(withData("--capture '" + data + "/v.mp4' --to 1000 --size 64x64", data));
        EXPECT_EQ(capture.status, 1) << capture.err;
        EXPECT_NE(capture.err.find("Can't load file Music/cq.mp3 (no MP3 audio"), std::string::npos)
            << capture.err;
        EXPECT_EQ(capture.err.find("frames"), std::string::npos)
            << "rendered before refusing: " << capture.err;
        EXPECT_FALSE(fs::exists(data + "/v.mp4"));
    }
    const RunResult play = runProgram(withData("--windowed", wave));
    EXPECT_EQ(play.status, 1) << play.err;
    EXPECT_NE(play.err.find("Can't load file Music/cq.mp3 (no MP3 audio"), std::string::npos) << play.err;
}

// Out of memory at start-up or in the capture ends with what could not be had and status 1, and
// removes the video begun; no abort. The address space is capped (ulimit -v, in kB) at two heights:
// below what loading a 2048 x 2048 frame takes, and below that plus the read-back of an
// 8192 x 8192 output.
TEST(HostileUse, OutOfMemoryIsNamedAndLeavesNothingBehind) {
    if (std::getenv("ASAN_OPTIONS"))
        GTEST_SKIP() << "the address sanitizer reserves more than any cap allows";
    const fs::path dir = freshTempDir("castrelle_out_of_memory");
    const auto capped = [&](const std::string& kb) {
        const std::string status = shellOutput(
            "cd '" + dir.string() + "' && (ulimit -v " + kb + "; " +
            programCommand(withData("--capture v.mp4 --size 8192x8192 --frame 2048 --to 50 --no-music")) +
            " >/dev/null 2>err); echo $?");
        return status + fileText(dir / "err");
    };
    const std::string loading = capped("1500000");
    EXPECT_EQ(loading.substr(0, 2), "1\n") << loading;
    EXPECT_NE(
        loading.find("out of memory: there is not enough for the show's textures, models and effect buffers "
                     "at a 2048 x 2048 frame"),
        std::string::npos)
        << loading;
    const std::string reading = capped("2000000");
    EXPECT_EQ(reading.substr(0, 2), "1\n") << reading;
    EXPECT_NE(reading.find("out of memory: there is not enough for the read-back of the 8192 x 8192 frame"),
              std::string::npos)
        << reading;
    EXPECT_EQ(shellOutput("ls -A '" + dir.string() + "'"), "err\n");
}

// Writes that fail stop the capture with the file and the system's reason; only whole frames are
// counted and kept. Full and read-only disks are tmpfs mounts in a mount namespace of the test's own.
TEST(HostileUse, FullAndReadOnlyDisksStopTheCaptureWithPathAndReason) {
    if (shellOutput("unshare -m true 2>/dev/null && echo yes") != "yes\n")
        GTEST_SKIP() << "mount namespaces are not available here (they need root)";
    const fs::path dir = freshTempDir("castrelle_small_disk");
    const fs::path disk = dir / "disk", kept = dir / "kept";
    fs::create_directory(disk);
    // Runs the program on a fresh tmpfs at `disk` mounted with `options`; what it wrote there is
    // copied to `kept`.
    auto onDisk = [&](const std::string& options, const std::string& args) {
        fs::remove_all(kept);
        fs::create_directory(kept);
        fs::remove(dir / "status");
        std::ofstream(dir / "run.sh")
            << "mount -t tmpfs -o " << options << " tmpfs '" << disk.string() << "' || exit\n"
            << "timeout 120 " << programCommand(withData(args)) << " >'" << (dir / "out").string() << "' 2>'"
            << (dir / "err").string() << "'\necho $? >'" << (dir / "status").string() << "'\ncp -a '"
            << disk.string() << "/.' '" << kept.string() << "'\n";
        shellOutput("unshare -m sh '" + (dir / "run.sh").string() + "'");
        RunResult r;
        r.status = std::stoi("0" + fileText(dir / "status")); // 0 when the mount failed
        r.out = fileText(dir / "out");
        r.err = fileText(dir / "err");
        return r;
    };
    const std::string frames = " --to 3000 --fps 10 --size 160x120 --no-music";

    // Numbered PNGs until the disk is full: the frames counted are the whole ones on disk.
    const RunResult full = onDisk("size=64k", "--capture '" + disk.string() + "/f/'" + frames);
    EXPECT_EQ(full.status, 1) << full.err;
    EXPECT_NE(full.err.find(disk.string() + "/f/frame_"), std::string::npos) << full.err;
    EXPECT_NE(full.err.find("No space left on device"), std::string::npos) << full.err;
    const size_t wrote = full.out.find("Wrote ");
    ASSERT_NE(wrote, std::string::npos) << full.out;
    const int count = std::stoi(full.out.substr(wrote + 6));
    EXPECT_GT(count, 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(kept / "f"), fs::directory_iterator()), count);
    for (int k = 0; k < count; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "f/frame_%06d.png", k);
        RgbImage image;
        EXPECT_TRUE(readPng((kept / name).string(), image)) << name;
    }

    // A shot into a full folder is not listed as written, and the end of the show is not blamed.
    const RunResult shot =
        onDisk("size=4k", "--shot 100 --size 256x192 --no-music --out '" + disk.string() + "'");
    EXPECT_EQ(shot.status, 1);
    EXPECT_NE(shot.err.find(disk.string() + "/shot_000100.png: No space left on device"), std::string::npos)
        << shot.err;
    EXPECT_EQ(shot.err.find("show ends"), std::string::npos) << shot.err;
    EXPECT_EQ(shot.out.find("shot_000100.png"), std::string::npos) << shot.out;

    // A video on a full disk: the encoder's own reason, and nothing left behind.
    const RunResult video = onDisk("size=16k", "--capture '" + disk.string() + "/v.mp4'" + frames);
    EXPECT_EQ(video.status, 1);
    EXPECT_NE(video.err.find("No space left on device"), std::string::npos) << video.err;
    EXPECT_TRUE(fs::is_empty(kept));

    // A read-only folder is refused before rendering, for PNGs as for a video.
    for (const std::string& target : {disk.string(), disk.string() + "/v.mp4"}) {
        const RunResult r = onDisk("ro", "--capture '" + target + "'" + frames);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(disk.string()), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("Read-only file system"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("ffmpeg"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("frames"), std::string::npos) << r.err;
        EXPECT_EQ(r.out.find("Wrote"), std::string::npos) << r.out;
    }
}

} // namespace
