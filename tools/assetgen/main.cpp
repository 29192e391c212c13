// assetgen: writes the demo's data directory. Deterministic: the same bytes on every run.
#include "recipes/ModelSheet.h"
#include "recipes/Recipes.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

void printUsage(FILE* to) {
    std::fputs("Usage: assetgen --out DIR [--only textures|models] [--sheet FILE.png] [--model-sheet FILE.png]\n"
               "Generates Images/*.jpg and Models/*.3ds under DIR.\n",
               to);
}

} // namespace

int main(int argc, char** argv) {
    std::filesystem::path out;
    std::filesystem::path sheet;
    std::filesystem::path modelSheet;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(arg, "--help")) {
            printUsage(stdout);
            return 0;
        } else if (!std::strcmp(arg, "--out") && hasValue) {
            out = argv[++i];
        } else if (!std::strcmp(arg, "--only") && hasValue) {
            only = argv[++i];
        } else if (!std::strcmp(arg, "--sheet") && hasValue) {
            sheet = argv[++i];
        } else if (!std::strcmp(arg, "--model-sheet") && hasValue) {
            modelSheet = argv[++i];
        } else {
            std::fprintf(stderr, "assetgen: unknown or incomplete option '%s'\n", arg);
            printUsage(stderr);
            return 2;
        }
    }
    if (out.empty() || (!only.empty() && only != "textures" && only != "models")) {
        printUsage(stderr);
        return 2;
    }
    std::error_code ec;
    std::filesystem::create_directories(out, ec);
    if (ec) {
        std::fprintf(stderr, "assetgen: cannot create %s: %s\n", out.c_str(), ec.message().c_str());
        return 1;
    }
    if ((only.empty() || only == "textures") && !writeTextures(out)) return 1;
    if ((only.empty() || only == "models") && !writeModels(out)) return 1;
    if (!sheet.empty() && !writeTextureSheet(out, sheet)) return 1;
    if (!modelSheet.empty() && !writeModelSheet(modelSheet)) return 1;
    return 0;
}
