#include "recipes/Recipes.h"

#include <cstdio>

bool writeTextures(const std::filesystem::path&) {
    std::fputs("assetgen: texture recipes are not written yet\n", stderr);
    return false;
}

bool writeTextureSheet(const std::filesystem::path&, const std::filesystem::path&) {
    std::fputs("assetgen: texture recipes are not written yet\n", stderr);
    return false;
}
