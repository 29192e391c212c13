#pragma once
// Command-line options. With none, the demo plays exactly as built: fullscreen, with music, from
// the start, with the data of the working directory (or of the build when it has none).

#include <string>

struct Options {
    bool showHelp = false;
    bool showVersion = false;
    bool windowed = false;
    bool musicEnabled = true;
    int startOffset = 0; // ms
    std::string dataDir; // empty: look for the data (see resolveDataDir)
};

// Parses argv into options. Returns false with a message in error on unknown options or bad values.
bool parseCommandLine(int argc, const char* const* argv, Options& options, std::string& error);

const char* usageText();

// The data directory to use: the given one, else the working directory when it holds the
// show's data, else the directory the build generated. Empty when the given one does not exist.
std::string resolveDataDir(const std::string& given, const std::string& buildDataDir);
