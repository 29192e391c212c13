// The castrelle program as a user runs it: exit statuses and messages of start-up failures.
#include "support/RunProgram.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

TEST(Program, HelpAndVersionExitZero) {
    const RunResult help = runProgram("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--no-music"), std::string::npos);
    EXPECT_EQ(runProgram("--version").status, 0);
}

TEST(Program, UnknownOptionIsAnErrorWithStatusTwo) {
    const RunResult r = runProgram("--frobnicate");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("unknown option '--frobnicate'"), std::string::npos);
}

TEST(Program, RendererIsFixedOrShaderAndTheReferenceIsTheFixedOnes) {
    const RunResult bad = runProgram("--renderer vulkan");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("bad value 'vulkan' for --renderer"), std::string::npos) << bad.err;
    const RunResult both = runProgram("--renderer shader --reference");
    EXPECT_EQ(both.status, 2);
    EXPECT_NE(both.err.find("--reference draws with the fixed renderer"), std::string::npos) << both.err;
}

TEST(Program, WithoutAnEs3ContextTheShaderRendererSaysSoAndTheDefaultDrawsWithTheFixedOne) {
    // Mesa then offers ES 2.0 at most, as an older driver would.
    ASSERT_EQ(setenv("MESA_GLES_VERSION_OVERRIDE", "2.0", 1), 0);
    // Under the address sanitizer: the driver that refused the context is unloaded before the
    // exit, so the allocations it keeps can no longer be named for the leak suppressions.
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    const std::string kept = sanitizer ? sanitizer : "";
    if (sanitizer) setenv("ASAN_OPTIONS", (kept + ":detect_leaks=0").c_str(), 1);
    const std::string shot = " --shot 0 --fps 2 --size 64x64 --no-music --data '" + dataDir() + "'";
    const RunResult named = runProgram("--renderer shader" + shot + " --out '" + freshTempDir("castrelle_no_es3") + "'");
    const std::string fallback = freshTempDir("castrelle_no_es3_default");
    const RunResult unnamed = runProgram(shot + " --out '" + fallback + "'");
    unsetenv("MESA_GLES_VERSION_OVERRIDE");
    if (sanitizer) setenv("ASAN_OPTIONS", kept.c_str(), 1);
    EXPECT_EQ(named.status, 1);
    EXPECT_NE(named.err.find("no OpenGL ES 3.0 context"), std::string::npos) << named.err;
    EXPECT_EQ(unnamed.status, 0) << unnamed.err;
    // One line says so, and only the progress bar follows.
    EXPECT_EQ(unnamed.err.substr(0, unnamed.err.find('[')),
              "castrelle: no OpenGL ES 3.0 context here; drawing with the fixed-function renderer\n");
    EXPECT_TRUE(std::filesystem::exists(fallback + "/shot_000000.png"));
}

TEST(Program, MissingDataDirectoryEndsAtOnce) {
    const RunResult r = runProgram("--data /nonexistent/castrelle");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("data directory '/nonexistent/castrelle' not found"), std::string::npos);
}

TEST(Program, MissingMusicIsReportedAndEndsWithAnError) {
    // The generated pictures and models, but no soundtrack.
    const auto dir = std::filesystem::path(freshTempDir("castrelle_no_music"));
    for (const char* sub : {"Images", "Models"})
        std::filesystem::create_directory_symlink(std::filesystem::path(dataDir()) / sub, dir / sub);
    const RunResult r = runProgram("--windowed --data '" + dir.string() + "'");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.status, 124) << "timed out";
    EXPECT_NE(r.err.find("Can't load file Music/cq.mp3"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("File read error"), std::string::npos);
}

// Live play on a display that cannot be reached ends at once instead of playing unseen; without
// sound it plays and says so once.
TEST(Program, LivePlaySaysWhenItHasNoDisplayOrNoSound) {
    const std::string play = "'" + std::string(CASTRELLE_TEST_BINARY) +
                             "' --windowed --start 286000 --data '" + dataDir() +
                             "' 2>&1 >/dev/null; echo $?";
    const std::string unseen = shellOutput("env -u SDL_VIDEODRIVER -u WAYLAND_DISPLAY DISPLAY=:4097 "
                                           "SDL_AUDIODRIVER=dummy timeout 30 " +
                                           play);
    EXPECT_NE(unseen.find("castrelle: no display: DISPLAY=:4097 cannot be reached"), std::string::npos)
        << unseen;
    EXPECT_EQ(unseen.substr(unseen.size() - 2), "1\n") << unseen;
    const std::string silent = shellOutput("env -u DISPLAY SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=nothing "
                                           "timeout 30 " +
                                           play);
    EXPECT_EQ(silent, "castrelle: no sound (SDL audio: Audio target 'nothing' not available): the show plays "
                      "silently\n0\n");
}

TEST(Program, TickModeRunsFromTheStartOffsetToTheEndOfTheShow) {
    const RunResult r = runProgram("--windowed --no-music --start 286000 --data '" + dataDir() + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Initialization finished in "), std::string::npos);
    // The status line goes out every frame; the last one is at or past the end of the show.
    const auto last = r.out.rfind("Time: ");
    ASSERT_NE(last, std::string::npos);
    EXPECT_GE(std::stoi(r.out.substr(last + 6)), 286500);
    EXPECT_NE(r.out.find("   Fps: "), std::string::npos);
}

} // namespace
