// What a capture will make, worked out before anything is loaded: which frames the shots take,
// which targets are a video, a folder or nothing, and what is refused at once.
#include "app/CapturePlan.h"

#include "support/RunProgram.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

int plan(const std::vector<const char*>& args, CapturePlan& out, std::string& error) {
    std::vector<const char*> argv{"castrelle"};
    argv.insert(argv.end(), args.begin(), args.end());
    Options options;
    if (!parseCommandLine(static_cast<int>(argv.size()), argv.data(), options, error)) return -1;
    return planCapture(options, out, error);
}

// At 60 frames a second, frame n is at n * 1000 / 60 ms: 300 at 5000, 301 at 5016.
TEST(CapturePlan, EachShotIsTheFirstFrameAtOrAfterItsTimeWhateverTheTime) {
    CapturePlan p;
    std::string error;
    ASSERT_EQ(plan({"--shot", "5001,1234,5001"}, p, error), 0) << error;
    EXPECT_EQ(p.shots, (std::vector<int>{1234, 5001}));
    EXPECT_EQ(p.frameCount, 302); // up to frame 301, at 5016 ms
    ASSERT_EQ(plan({"--shot", "5000"}, p, error), 0) << error;
    EXPECT_EQ(p.frameCount, 301); // a time on the grid is its own frame
    ASSERT_EQ(plan({"--shot", "286483"}, p, error), 0) << error;
    EXPECT_EQ(p.frameCount, 17190); // the last frame before the end
}

TEST(CapturePlan, ShotsNoFrameReachesAreRefusedBeforeAnythingIsDrawn) {
    CapturePlan p;
    std::string error;
    EXPECT_EQ(plan({"--shot", "100,286500,99999999"}, p, error), 2);
    EXPECT_NE(error.find("the show ends at 286500 ms"), std::string::npos) << error;
    EXPECT_NE(error.find(": 286500 99999999"), std::string::npos) << error;
    // 286484 falls after the last frame at 60 a second, but not at 1000.
    EXPECT_EQ(plan({"--shot", "286484"}, p, error), 2);
    EXPECT_EQ(plan({"--shot", "286484", "--fps", "1000"}, p, error), 0) << error;
}

TEST(CapturePlan, ATargetIsAVideoAFolderOrNothingAndAnythingElseIsRefused) {
    const std::string folder = freshTempDir("castrelle_plan_folder");
    const std::pair<std::string, CaptureOutput> kinds[] = {
        {"show.mp4", CaptureOutput::Video},    {"SHOW.MKV", CaptureOutput::Video},
        {"frames/", CaptureOutput::PngFolder}, {folder, CaptureOutput::PngFolder},
        {"null", CaptureOutput::Null},
    };
    for (const auto& [target, kind] : kinds) {
        CapturePlan p;
        std::string error;
        ASSERT_EQ(plan({"--capture", target.c_str()}, p, error), 0) << target << ": " << error;
        EXPECT_EQ(p.output, kind) << target;
    }
    for (const char* target : {"weird.webm", "-", "frames"}) {
        CapturePlan p;
        std::string error;
        EXPECT_EQ(plan({"--capture", target}, p, error), 2) << target;
        EXPECT_NE(error.find("name a video (.mp4, .mkv), a folder for PNG frames"), std::string::npos)
            << error;
    }
    // A video holds at least a frame a second; PNG frames come at any rate.
    CapturePlan p;
    std::string error;
    EXPECT_EQ(plan({"--capture", "show.mp4", "--fps", "999/1000"}, p, error), 2);
    EXPECT_NE(error.find("at least one frame a second"), std::string::npos) << error;
    EXPECT_EQ(plan({"--capture", "frames/", "--fps", "1/1000"}, p, error), 0) << error;
}

} // namespace
