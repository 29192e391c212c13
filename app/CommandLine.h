#pragma once
// Command-line options. With none, the demo plays exactly as built: fullscreen, with music, from
// the start, with the data found where app/DataDirectory.h looks.

#include "show/Timetable.h"

struct RenderBackend;

#include <string>
#include <vector>

enum class RunMode {
    Play,    // interactive, on the music clock
    Capture, // fixed-step frames to a video, a folder of PNGs, or nowhere ("null")
    Shots,   // fixed-step from the start, PNGs of the frames at chosen times
};

struct Options {
    bool showHelp = false;
    bool showVersion = false;
    bool windowed = false;
    bool musicEnabled = true;
    int startOffset = 0; // ms
    std::string dataDir; // empty: look for the data (app/DataDirectory.h)

    RunMode mode = RunMode::Play;
    std::string capturePath; // .mp4/.mkv: video; "null": discard; ending in / or a folder: PNGs
    int fpsNum = 60;         // fixed-step frame rate as a fraction
    int fpsDen = 1;
    int width = 800; // capture size
    int height = 600;
    int frameSize = 0; // internal frame; 0: 512 when playing, by the output size when capturing
    int fromMs = 0;
    int toMs = timetable::kShowEnd;
    std::vector<int> shotTimes;
    std::string outDir; // where --shot writes
    bool stats = false; // per-section table after a capture or live play
    bool reference = false; // draw without the renderer's shortcuts (RenderPath::Reference)
    std::string section; // --section: play from this section's start, or capture just it
    bool loop = false;   // live play again and again: the show, or with --section that section
    // The renderer --renderer or --reference names; null: the default (render/Backends.h), which
    // gives way to the fixed-function one where the machine offers no OpenGL ES 3.0 context.
    const RenderBackend* renderer = nullptr;
};

// Parses argv into options. Returns false with a message in error on unknown options or bad values.
bool parseCommandLine(int argc, const char* const* argv, Options& options, std::string& error);

const char* usageText();
