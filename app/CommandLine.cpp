#include "app/CommandLine.h"

#include "render/Backends.h"
#include "render/FrameSize.h"
#include "timeline/ShowSections.h"

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
    const ShowSection* section = findSection(o.section);
    if (!section) {
        error = "unknown section '" + o.section + "'; the sections are: " + sectionNameList();
        return false;
    }
    switch (o.mode) {
    case RunMode::Play:
        if (startGiven) {
            error = "--section and --start both say where to start: give one";
            return false;
        }
        o.startOffset = section->start;
        break;
    case RunMode::Capture:
        if (rangeGiven) {
            error = "--section and --from/--to both give the range: give one";
            return false;
        }
        o.fromMs = section->start;
        o.toMs = section->end;
        break;
    case RunMode::Shots:
        error = "--section does not go with --shot, which takes its times one by one";
        return false;
    }
    o.section = section->name;
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
           "                      of numbered PNGs, or to 'null' (render only, for timing)\n"
           "  --shot MS[,MS...]   render from the start and write the frames at these times as PNGs\n"
           "  --out DIR           folder for --shot (default: the working directory)\n"
           "  --fps N[/D]         fixed frame rate, e.g. 60 or 60000/1001 (default 60)\n"
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
           "Keys (one handled per frame): Escape quits, Left/Right seek 0.1 s (Left 0.2 s with\n"
           "--no-music), Down/Up seek 1 s, Page Down/Page Up jump to the next/previous section,\n"
           "Home to the start, F9 pauses, F11 or Alt+Enter toggles fullscreen.\n";
}

bool parseCommandLine(int argc, const char* const* argv, Options& options, std::string& error) {
    bool startGiven = false, rangeGiven = false;
    static const char* const kValued[] = {"--start", "--data", "--capture", "--shot",    "--out",     "--fps",
                                          "--size",  "--from", "--to",      "--frame", "--section", "--renderer"};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        bool valued = false;
        for (const char* v : kValued) valued = valued || arg == v;
        if (valued && i + 1 >= argc) {
            error = "option " + arg + " needs a value";
            return false;
        }
        const std::string value = valued ? argv[++i] : std::string();
        bool ok = true;
        if (arg == "--help" || arg == "-h")
            options.showHelp = true;
        else if (arg == "--version")
            options.showVersion = true;
        else if (arg == "--windowed")
            options.windowed = true;
        else if (arg == "--no-music")
            options.musicEnabled = false;
        else if (arg == "--stats")
            options.stats = true;
        else if (arg == "--reference")
            options.reference = true;
        else if (arg == "--loop")
            options.loop = true;
        else if (arg == "--section")
            options.section = value;
        else if (arg == "--data")
            options.dataDir = value;
        else if (arg == "--out")
            options.outDir = value;
        else if (arg == "--start")
            ok = startGiven = parseMs(value, options.startOffset);
        else if (arg == "--from")
            ok = rangeGiven = parseMs(value, options.fromMs);
        else if (arg == "--to")
            ok = rangeGiven = parseMs(value, options.toMs);
        else if (arg == "--fps")
            ok = parseFps(value, options.fpsNum, options.fpsDen);
        else if (arg == "--frame")
            ok = parseInt(value, options.frameSize) && isOfferedFrameSize(options.frameSize);
        else if (arg == "--renderer")
            ok = parseRenderer(value, options.renderer);
        else if (arg == "--size")
            ok = parseSize(value, options.width, options.height);
        else if (arg == "--capture" || arg == "--shot") {
            // One run makes either a capture or shots: the one given last would silently win.
            const RunMode mode = arg == "--capture" ? RunMode::Capture : RunMode::Shots;
            if (options.mode != RunMode::Play && options.mode != mode) {
                error = "--shot and --capture cannot be used together";
                return false;
            }
            options.mode = mode;
            if (mode == RunMode::Capture) {
                options.capturePath = value;
                ok = !value.empty();
            } else {
                ok = parseShotList(value, options.shotTimes);
            }
        } else {
            error = "unknown option '" + arg + "'";
            return false;
        }
        if (!ok) {
            error = "bad value '" + value + "' for " + arg;
            if (arg == "--size") error += " (" + sizeLimits() + ")";
            return false;
        }
    }
    if (!options.section.empty() && !applySection(options, startGiven, rangeGiven, error)) return false;
    if (options.loop && options.mode != RunMode::Play) {
        error = "--loop is for live play: a capture renders its range once";
        return false;
    }
    // Times past the end of the show would only wrap the clocks round; the show ends there anyway.
    if (options.startOffset >= timetable::kShowEnd || options.fromMs >= timetable::kShowEnd) {
        error = "--start and --from must be before the end of the show (" +
                std::to_string(timetable::kShowEnd) + " ms)";
        return false;
    }
    if (options.reference && options.renderer && options.renderer != referenceBackend()) {
        error = std::string("--reference draws with the fixed renderer; it does not go with --renderer ") +
                options.renderer->name;
        return false;
    }
    if (options.reference) options.renderer = referenceBackend();
    if (options.toMs > timetable::kShowEnd) options.toMs = timetable::kShowEnd;
    if (options.fromMs >= options.toMs) {
        error = "--from must be before --to";
        return false;
    }
    return true;
}
