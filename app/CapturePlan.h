#pragma once
// What a --capture or --shot run will make, worked out from the command line before anything is
// loaded: the kind of output, which frames are drawn and which of them are written. Everything
// that cannot come out right is refused here, not after minutes of rendering.

#include "app/CommandLine.h"

#include <cstdint>
#include <string>
#include <vector>

enum class CaptureOutput {
    Video,     // .mp4 or .mkv, with the soundtrack
    PngFolder, // numbered PNG frames in a folder
    Shots,     // PNGs of the frames at chosen times
    Null,      // drawn and discarded, for timing
};

struct CapturePlan {
    CaptureOutput output = CaptureOutput::Null;
    // Every frame depends on the ones before it (scene clocks, feedback copies), so the show is
    // drawn from its start whatever the range: frames before firstWritten are drawn, not written.
    int64_t firstWritten = 0;
    int64_t frameCount = 0; // frames drawn in all
    std::vector<int> shots; // sorted, each once
};

// The video formats a capture writes, for messages: ".mp4, .mkv".
const char* videoExtensions();

// Works out the plan. Returns 0, or the exit status after putting the reason in error: 2 when
// the command line asks for what cannot be made.
int planCapture(const Options& options, CapturePlan& plan, std::string& error);
