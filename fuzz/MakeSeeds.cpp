// Writes the seed corpora into <dir>/3ds and <dir>/jpeg for a fuzzing campaign.

#include "fuzz/Seeds.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus dir>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    int failures = 0;
    for (const auto& [folder, list] :
         {std::pair{"3ds", seeds::threeDs()}, std::pair{"jpeg", seeds::jpeg()}}) {
        std::filesystem::create_directories(root / folder);
        for (const auto& [name, bytes] : list)
            if (!threeds::save((root / folder / name).string(), bytes)) ++failures;
    }
    return failures == 0 ? 0 : 1;
}
