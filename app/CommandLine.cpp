#include "app/CommandLine.h"

#include "render/Backends.h"
#include "render/FrameSize.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <initializer_list>

namespace {

bool parseInt(std::string_view text, int& out) {
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && ptr == text.data() + text.size() && !text.empty();
}

bool parseMs(std::string_view text, int& out) { return parseInt(text, out) && out >= 0; }

// "60", "30" or "60000/1001": at most 1000 frames a second; products in 64 bits.
bool parseFps(std::string_view text, int& num, int& den) {
    const size_t slash = text.find('/');
    den = 1;
    if (slash == std::string_view::npos) return parseInt(text, num) && num > 0 && num <= 1000;
    return parseInt(text.substr(0, slash), num) && parseInt(text.substr(slash + 1), den) && num > 0 &&
           den > 0 && std::int64_t{num} <= std::int64_t{1000} * den;
}

// "800x600"; both multiples of 4 (video encoders and the frame blit want even, aligned rows).
constexpr int kMinCaptureSide = 64;
constexpr int kMaxCaptureSide = 8192;
constexpr int kCaptureSideStep = 4;

bool parseSize(std::string_view text, int& w, int& h) {
    const size_t x = text.find('x');
    auto fits = [](int side) {
        return side >= kMinCaptureSide && side <= kMaxCaptureSide && side % kCaptureSideStep == 0;
    };
    return x != std::string_view::npos && parseInt(text.substr(0, x), w) && parseInt(text.substr(x + 1), h) &&
           fits(w) && fits(h);
}

std::string sizeLimits() {
    return "width and height from " + std::to_string(kMinCaptureSide) + " to " +
           std::to_string(kMaxCaptureSide) + ", multiples of " + std::to_string(kCaptureSideStep);
}

bool parseShotList(std::string_view text, std::vector<int>& out) {
    out.clear();
    while (!text.empty()) {
        const size_t comma = text.find(',');
        int ms = 0;
        if (!parseMs(text.substr(0, comma), ms)) return false;
        out.push_back(ms);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return !out.empty();
}

bool parseRenderer(std::string_view text, const RenderBackend*& out) {
    out = backendNamed(text);
    return out != nullptr;
}

// --section NAME: where live play starts, or the range a capture renders; said twice is refused.
bool applySection(Options& o, bool startGiven, bool rangeGiven, std::string& error) {
    const int section = timetable::sectionNamed(o.section);
    if (section < 0) {
        error = "unknown section '" + o.section + "'; the sections are: " + timetable::sectionNameList();
        return false;
    }
    switch (o.mode) {
    case RunMode::Play:
        if (startGiven) {
            error = "--section and --start both say where to start: give one";
            return false;
        }
        o.startOffset = timetable::kSections[section].start;
        break;
    case RunMode::Capture:
        if (rangeGiven) {
            error = "--section and --from/--to both give the range: give one";
            return false;
        }
        o.fromMs = timetable::kSections[section].start;
        o.toMs = timetable::sectionEnd(section);
        break;
    case RunMode::Shots:
        error = "--section does not go with --shot, which takes its times one by one";
        return false;
    }
    o.section = timetable::kSections[section].name;
    return true;
}

} // namespace

const char* usageText() {
    return "Usage: castrelle [options]\n"
           "Plays the Castrelle Quillmere demo: 286.5 seconds of real-time 3D in step with its music.\n"
           "\n"
           "Playing:\n"
           "  --windowed          play in a resizable 800 x 600 window instead of fullscreen\n"
           "                      (which keeps the desktop's display mode)\n"
           "  --start MS          start the show at MS milliseconds\n"
           "  --section NAME      start at a section of the show: title, swarm, star-ball,\n"
           "                      white-out, hipu, duck, star-ball-2, cave, potko or closing\n"
           "  --loop              play the show (with --section, that section) again and again\n"
           "  --no-music          run on the tick counter, without the soundtrack\n"
           "  --data DIR          directory holding Images/, Models/ and Music/\n"
           "\n"
           "Capturing (headless, frame-exact, no display needed):\n"
           "  --capture FILE      render to FILE.mp4 or FILE.mkv (with the soundtrack), to a folder\n"
           "                      of numbered PNGs (a name ending in / or an existing folder, which\n"
           "                      must hold no earlier frames), or to 'null' (render only, for timing)\n"
           "  --shot MS[,MS...]   render from the start and write the frames at these times as PNGs\n"
           "  --out DIR           folder for --shot (default: the working directory)\n"
           "  --fps N[/D]         fixed frame rate, e.g. 60 or 60000/1001 (default 60; a video: 1 or more)\n"
           "  --size WxH          capture size (default 800x600), each side from 64 to 8192, multiples\n"
           "                      of 4; the show keeps its 4:3 picture, centred with black bars on\n"
           "                      other shapes\n"
           "  --frame N           internal frame the scenes render at: 256, 384, 512, 768, 1024,\n"
           "                      1536 or 2048 (default 512, or for a capture taller than 768 the\n"
           "                      size that keeps it sharp); e.g. --size 1920x1080 --frame 1024 for\n"
           "                      a sharp HD video. Live play picks it by itself, as large as the\n"
           "                      screen calls for and the machine holds at the display's rate;\n"
           "                      --frame pins it\n"
           "  --from MS, --to MS  time range of a capture (default the whole show); the show is\n"
           "                      still drawn from its start, so the range holds the very frames\n"
           "                      of a whole capture; --section NAME captures that section\n"
           "  --stats             after a capture, print timing per section and peak memory;\n"
           "                      after live play, frames per second and frame sizes per section\n"
           "\n"
           "Rendering:\n"
           "  --renderer NAME     'shader' (the default): OpenGL ES 3.0 shaders (the WebGL 2 class),\n"
           "                      the faster here; without an OpenGL ES 3.0 context the default\n"
           "                      falls back to 'fixed': fixed-function desktop OpenGL, whose\n"
           "                      pictures are the reference\n"
           "  --reference         draw every pass as the look was built, without the fixed renderer's\n"
           "                      shortcuts (slower; for comparing pictures and timings)\n"
           "\n"
           "  --help              show this text\n"
           "  --version           show the version\n"
           "\n"
           "Each option is given once, and only where it does something: --start and --loop for\n"
           "live play; --fps, --size for captures; --from, --to for --capture; --out for --shot.\n"
           "\n"
           "Keys (one handled per frame): Escape quits, Left/Right seek 0.1 s (Left 0.2 s with\n"
           "--no-music), Down/Up seek 1 s, Page Down/Page Up jump to the next/previous section,\n"
           "Home to the start, F9 pauses, F11 or Alt+Enter toggles fullscreen.\n";
}

namespace {

// Which runs an option is for; anything else is refused rather than silently ignored.
enum class Use {
    Any,
    Play,    // live play
    Capture, // --capture or --shot
    Range,   // --capture only: --from and --to
    Shots,   // --shot only: --out
};

using Apply = bool (*)(Options& o, const std::string& value, std::string& error);

struct OptionRow {
    const char* name;
    bool valued;
    Use use;
    Apply apply; // false: a bad value (error says why, or is left empty for the plain message)
};

// One run makes either a capture or shots: the one given last would silently win.
bool setMode(Options& o, RunMode mode, std::string& error) {
    if (o.mode != RunMode::Play && o.mode != mode) {
        error = "--shot and --capture cannot be used together";
        return false;
    }
    o.mode = mode;
    return true;
}

constexpr OptionRow kOptions[] = {
    {"--help", false, Use::Any,
     [](Options& o, const std::string&, std::string&) { return o.showHelp = true; }},
    {"-h", false, Use::Any, [](Options& o, const std::string&, std::string&) { return o.showHelp = true; }},
    {"--version", false, Use::Any,
     [](Options& o, const std::string&, std::string&) { return o.showVersion = true; }},
    {"--windowed", false, Use::Any,
     [](Options& o, const std::string&, std::string&) { return o.windowed = true; }},
    {"--no-music", false, Use::Any,
     [](Options& o, const std::string&, std::string&) { return !(o.musicEnabled = false); }},
    {"--stats", false, Use::Any, [](Options& o, const std::string&, std::string&) { return o.stats = true; }},
    {"--reference", false, Use::Any,
     [](Options& o, const std::string&, std::string&) { return o.reference = true; }},
    {"--loop", false, Use::Play, [](Options& o, const std::string&, std::string&) { return o.loop = true; }},
    {"--section", true, Use::Any,
     [](Options& o, const std::string& v, std::string&) { return !(o.section = v).empty(); }},
    {"--data", true, Use::Any,
     [](Options& o, const std::string& v, std::string&) { return !(o.dataDir = v).empty(); }},
    {"--out", true, Use::Shots,
     [](Options& o, const std::string& v, std::string&) { return !(o.outDir = v).empty(); }},
    {"--start", true, Use::Play,
     [](Options& o, const std::string& v, std::string&) { return parseMs(v, o.startOffset); }},
    {"--from", true, Use::Range,
     [](Options& o, const std::string& v, std::string&) { return parseMs(v, o.fromMs); }},
    {"--to", true, Use::Range,
     [](Options& o, const std::string& v, std::string&) { return parseMs(v, o.toMs); }},
    {"--fps", true, Use::Capture,
     [](Options& o, const std::string& v, std::string&) { return parseFps(v, o.fpsNum, o.fpsDen); }},
    {"--frame", true, Use::Any,
     [](Options& o, const std::string& v, std::string&) {
         return parseInt(v, o.frameSize) && isOfferedFrameSize(o.frameSize);
     }},
    {"--renderer", true, Use::Any,
     [](Options& o, const std::string& v, std::string&) {
         return parseRenderer(v, o.renderer);
     }},
    {"--size", true, Use::Capture,
     [](Options& o, const std::string& v, std::string& error) {
         if (parseSize(v, o.width, o.height)) return true;
         error = "bad value '" + v + "' for --size (" + sizeLimits() + ")";
         return false;
     }},
    {"--capture", true, Use::Any,
     [](Options& o, const std::string& v, std::string& error) {
         o.capturePath = v;
         return setMode(o, RunMode::Capture, error) && !v.empty();
     }},
    {"--shot", true, Use::Any,
     [](Options& o, const std::string& v, std::string& error) {
         return setMode(o, RunMode::Shots, error) && parseShotList(v, o.shotTimes);
     }},
};

const OptionRow* findOption(const std::string& name) {
    for (const OptionRow& row : kOptions)
        if (name == row.name) return &row;
    return nullptr;
}

// Why an option given does not go with the run asked for, or "" when it does.
std::string misuse(const OptionRow& row, RunMode mode) {
    const std::string name = row.name;
    switch (row.use) {
    case Use::Any:
        return {};
    case Use::Play:
        if (mode == RunMode::Play) return {};
        return name == "--start" ? "--start is for live play; a capture renders from the show's start and "
                                   "writes from --from"
                                 : name + " is for live play: a capture renders its range once";
    case Use::Capture:
        return mode == RunMode::Play ? name + " is for captures (--capture or --shot), not live play" : "";
    case Use::Range:
        if (mode == RunMode::Capture) return {};
        return name + (mode == RunMode::Play ? " is for --capture; live play starts at --start"
                                             : " is for --capture; --shot takes its times one by one");
    case Use::Shots:
        return mode == RunMode::Shots ? "" : name + " is for --shot (--capture names its own target)";
    }
    return {};
}

// The options one by one; each may be given once.
bool readOptions(int argc, const char* const* argv, Options& options, std::vector<const OptionRow*>& given,
                 std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const OptionRow* row = findOption(arg);
        if (!row) {
            error = "unknown option '" + arg + "'";
            return false;
        }
        if (std::find(given.begin(), given.end(), row) != given.end()) {
            error = arg + " is given twice";
            return false;
        }
        given.push_back(row);
        if (row->valued && i + 1 >= argc) {
            error = "option " + arg + " needs a value";
            return false;
        }
        const std::string value = row->valued ? argv[++i] : std::string();
        if (!row->apply(options, value, error)) {
            if (error.empty()) error = "bad value '" + value + "' for " + arg;
            return false;
        }
    }
    return true;
}

bool wasGiven(const std::vector<const OptionRow*>& given, const char* name) {
    for (const OptionRow* row : given)
        if (std::string_view(row->name) == name) return true;
    return false;
}

// What the options mean together: the section, the run they are for, the range.
bool checkTogether(Options& o, const std::vector<const OptionRow*>& given, std::string& error) {
    for (const OptionRow* row : given)
        if (!(error = misuse(*row, o.mode)).empty()) return false;
    const bool rangeGiven = wasGiven(given, "--from") || wasGiven(given, "--to");
    if (!o.section.empty() && !applySection(o, wasGiven(given, "--start"), rangeGiven, error)) return false;
    // Times past the end of the show would only wrap the clocks round; the show ends there anyway.
    if (o.startOffset >= timetable::kShowEnd || o.fromMs >= timetable::kShowEnd) {
        error = "--start and --from must be before the end of the show (" +
                std::to_string(timetable::kShowEnd) + " ms)";
        return false;
    }
    if (o.reference && o.renderer && o.renderer != referenceBackend()) {
        error = std::string("--reference draws with the fixed renderer; it does not go with --renderer ") +
                o.renderer->name;
        return false;
    }
    if (o.reference) o.renderer = referenceBackend();
    if (o.toMs > timetable::kShowEnd) o.toMs = timetable::kShowEnd;
    if (o.fromMs >= o.toMs) {
        error = "--from must be before --to";
        return false;
    }
    return true;
}

} // namespace

bool parseCommandLine(int argc, const char* const* argv, Options& options, std::string& error) {
    std::vector<const OptionRow*> given;
    return readOptions(argc, argv, options, given, error) && checkTogether(options, given, error);
}
