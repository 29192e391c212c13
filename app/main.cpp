// castrelle: the Castrelle Quillmere demo.
#include "app/Capture.h"
#include "app/CommandLine.h"
#include "app/DataDirectory.h"
#include "app/Player.h"
#include "CastrelleVersion.h"
#include "platform/GlContext.h"
#include "platform/Interrupt.h"
#include "render/Backends.h"
#include "render/RenderPath.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    installInterruptHandlers();
    Options options;
    std::string error;
    if (!parseCommandLine(argc, argv, options, error)) {
        std::fprintf(stderr, "castrelle: %s\n\n%s", error.c_str(), usageText());
        return 2;
    }
    setRenderPath(options.reference ? RenderPath::Reference : RenderPath::Fast);
    if (options.renderer) useBackend(*options.renderer);
    if (options.showHelp) {
        std::fputs(usageText(), stdout);
        return 0;
    }
    if (options.showVersion) {
        std::printf("castrelle %s\n", CASTRELLE_VERSION);
        return 0;
    }
    // Output paths are taken from where the user stands, before moving into the data directory.
    if (!options.capturePath.empty() && options.capturePath != "null")
        options.capturePath = std::filesystem::absolute(options.capturePath).string();
    options.outDir = std::filesystem::absolute(options.outDir.empty() ? "." : options.outDir).string();
    if (!enterDataDirectory(options.dataDir, CASTRELLE_DEFAULT_DATA_DIR, error)) {
        std::fprintf(stderr, "castrelle: %s\n", error.c_str());
        return 1;
    }
    if (options.mode != RunMode::Play) return runCapture(options);
    if (!displayReachable() && !std::getenv("SDL_VIDEODRIVER")) {
        std::fputs("castrelle: no display found (DISPLAY and WAYLAND_DISPLAY are not set).\n"
                   "To play the demo without a screen, run it on a virtual display:\n"
                   "  xvfb-run -a -s '-screen 0 800x600x24' castrelle --windowed\n",
                   stderr);
        return 1;
    }
    return runDemo(options);
}
