// --section and --loop on the command line: a section is a start for live play and a range for a
// capture; what cannot go together, or would do nothing, is refused with a message, never ignored.
#include "app/CommandLine.h"
#include "support/RunProgram.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool parse(const std::vector<const char*>& args, Options& options, std::string& error) {
    std::vector<const char*> argv{"castrelle"};
    argv.insert(argv.end(), args.begin(), args.end());
    return parseCommandLine(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(SectionOptions, ASectionIsWhereLivePlayStartsAndWhatACaptureHolds) {
    Options play, capture;
    std::string error;
    ASSERT_TRUE(parse({"--section", "cave", "--loop"}, play, error)) << error;
    EXPECT_EQ(play.startOffset, 164000);
    EXPECT_TRUE(play.loop);
    ASSERT_TRUE(parse({"--capture", "null", "--section", "star-ball-2"}, capture, error)) << error;
    EXPECT_EQ(capture.section, "star ball 2");
    EXPECT_EQ(capture.fromMs, 157000);
    EXPECT_EQ(capture.toMs, 164000);
}

TEST(SectionOptions, WhatCannotGoTogetherIsRefusedWithAReason) {
    const std::pair<std::vector<const char*>, const char*> refused[] = {
        {{"--section", "duck", "--start", "5000"}, "--start"},
        {{"--capture", "null", "--section", "duck", "--from", "130000"}, "--from/--to"},
        {{"--shot", "5000", "--section", "duck"}, "--shot"},
        {{"--capture", "null", "--loop"}, "--loop is for live play"},
        // Options that would be ignored, and options given twice (the last would win).
        {{"--capture", "null", "--start", "5000"}, "--start is for live play"},
        {{"--shot", "100", "--start", "5000"}, "--start is for live play"},
        {{"--section", "duck", "--section", "cave"}, "--section is given twice"},
        {{"--capture", "a.mp4", "--capture", "b.mp4"}, "--capture is given twice"},
        {{"--from", "100"}, "--from is for --capture; live play starts at --start"},
        {{"--to", "100"}, "--to is for --capture"},
        {{"--shot", "100", "--to", "200"}, "--to is for --capture; --shot takes its times"},
        {{"--size", "64x64"}, "--size is for captures"},
        {{"--fps", "30"}, "--fps is for captures"},
        {{"--capture", "null", "--out", "x"}, "--out is for --shot"},
    };
    for (const auto& [args, reason] : refused) {
        Options options;
        std::string error;
        EXPECT_FALSE(parse(args, options, error));
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
}

TEST(SectionOptions, AnUnknownSectionEndsWithStatusTwoAndTheNames) {
    const RunResult r = runProgram("--section lobby");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(
        r.err.find("unknown section 'lobby'; the sections are: title, swarm, star ball, white-out, hipu, "
                   "duck, star ball 2, cave, potko, closing"),
        std::string::npos)
        << r.err;
}

// A section's capture is its --from/--to: the frames of that section only.
TEST(SectionOptions, ASectionsCaptureHoldsThatSection) {
    const std::string dir = freshTempDir("castrelle_section_capture");
    const RunResult r = runProgram("--capture '" + dir +
                                       "' --section star-ball-2 --fps 1 --size 128x96 --frame 256 "
                                       "--no-music --data '" +
                                       dataDir() + "'",
                                   ".", 300);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Wrote 7 PNG frames"), std::string::npos) << r.out;
}

} // namespace
