#include "app/CapturePlan.h"

#include "app/FixedStep.h"
#include "show/Timetable.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace {

bool refuseTarget(const std::string& path, std::string& error) {
    error = "cannot capture to '" + path + "': name a video (" + videoExtensions() +
            "), a folder for PNG frames (ending in /, or one that exists) or 'null'";
    return false;
}

// A folder is named as one (a trailing slash), a video by its extension (a folder of that name is
// refused when the capture starts, not filled with PNGs), and an existing folder is a folder.
bool outputFor(const std::string& path, CaptureOutput& out, std::string& error) {
    std::error_code ec;
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (path == "null")
        out = CaptureOutput::Null;
    else if (path.back() == '/')
        out = CaptureOutput::PngFolder;
    else if (ext == ".mp4" || ext == ".mkv")
        out = CaptureOutput::Video;
    else if (std::filesystem::is_directory(path, ec))
        out = CaptureOutput::PngFolder;
    else
        return refuseTarget(path, error);
    return true;
}

// Each shot is the first frame at or after its time; one that would come at or after the end of
// the show is never drawn.
int planShots(const Options& o, CapturePlan& plan, std::string& error) {
    plan.shots = o.shotTimes;
    std::sort(plan.shots.begin(), plan.shots.end());
    plan.shots.erase(std::unique(plan.shots.begin(), plan.shots.end()), plan.shots.end());
    const int64_t showFrames = fixedStepFrameCount(o.fpsNum, o.fpsDen, 0, timetable::kShowEnd);
    std::string late;
    for (const int ms : plan.shots)
        if (fixedStepFrameCount(o.fpsNum, o.fpsDen, 0, ms) >= showFrames)
            late.append(" ").append(std::to_string(ms));
    if (!late.empty()) {
        error = "the show ends at " + std::to_string(timetable::kShowEnd) +
                " ms: no frame comes at or after these shot times:" + late;
        return 2;
    }
    plan.frameCount = fixedStepFrameCount(o.fpsNum, o.fpsDen, 0, plan.shots.back()) + 1;
    return 0;
}

} // namespace

const char* videoExtensions() { return ".mp4, .mkv"; }

int planCapture(const Options& o, CapturePlan& plan, std::string& error) {
    plan = CapturePlan{};
    if (o.mode == RunMode::Shots) {
        plan.output = CaptureOutput::Shots;
        return planShots(o, plan, error);
    }
    if (!outputFor(o.capturePath, plan.output, error)) return 2;
    // A container holds a frame for as long as the next one has not come; slower than one a
    // second, players show the video's picture and sound apart.
    if (plan.output == CaptureOutput::Video && o.fpsNum < o.fpsDen) {
        error = "a video needs at least one frame a second; --fps " + std::to_string(o.fpsNum) + "/" +
                std::to_string(o.fpsDen) + " is slower (PNG frames take any rate)";
        return 2;
    }
    plan.firstWritten = fixedStepFrameCount(o.fpsNum, o.fpsDen, 0, o.fromMs);
    plan.frameCount = fixedStepFrameCount(o.fpsNum, o.fpsDen, 0, std::min(o.toMs, timetable::kShowEnd));
    if (plan.firstWritten >= plan.frameCount) {
        error = "no frame at this frame rate falls between --from and --to";
        return 2;
    }
    return 0;
}
