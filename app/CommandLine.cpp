#include "app/CommandLine.h"

#include <charconv>
#include <cstring>
#include <filesystem>

namespace {

bool parseMs(const char* text, int& out) {
    const char* end = text + std::strlen(text);
    const auto [ptr, ec] = std::from_chars(text, end, out);
    return ec == std::errc() && ptr == end && out >= 0;
}

bool holdsData(const std::filesystem::path& dir) {
    std::error_code ec;
    return std::filesystem::is_directory(dir / "Images", ec) || std::filesystem::exists(dir / "Music" / "cq.mp3", ec);
}

} // namespace

const char* usageText() {
    return "Usage: castrelle [options]\n"
           "Plays the Castrelle Quillmere demo: 286.5 seconds of real-time 3D in step with its music.\n"
           "\n"
           "Options:\n"
           "  --windowed        play in an 800 x 600 window instead of fullscreen\n"
           "  --start MS        start the show at MS milliseconds\n"
           "  --no-music        run on the tick counter, without the soundtrack\n"
           "  --data DIR        directory holding Images/, Models/ and Music/\n"
           "  --help            show this text\n"
           "  --version         show the version\n"
           "\n"
           "Keys: Escape quits, Left/Right seek 0.1 s, Down/Up seek 1 s, F9 pauses.\n";
}

bool parseCommandLine(int argc, const char* const* argv, Options& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            options.showHelp = true;
        } else if (arg == "--version") {
            options.showVersion = true;
        } else if (arg == "--windowed") {
            options.windowed = true;
        } else if (arg == "--no-music") {
            options.musicEnabled = false;
        } else if (arg == "--start" || arg == "--data") {
            if (!hasValue) {
                error = "option " + arg + " needs a value";
                return false;
            }
            const char* value = argv[++i];
            if (arg == "--data") {
                options.dataDir = value;
            } else if (!parseMs(value, options.startOffset)) {
                error = std::string("--start needs a time in milliseconds, not '") + value + "'";
                return false;
            }
        } else {
            error = "unknown option '" + arg + "'";
            return false;
        }
    }
    return true;
}

std::string resolveDataDir(const std::string& given, const std::string& buildDataDir) {
    std::error_code ec;
    if (!given.empty()) return std::filesystem::is_directory(given, ec) ? given : std::string();
    if (holdsData(std::filesystem::current_path(ec))) return ".";
    if (!buildDataDir.empty() && holdsData(buildDataDir)) return buildDataDir;
    return ".";
}
