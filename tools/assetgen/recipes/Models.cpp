#include "recipes/Recipes.h"

#include <cstdio>

bool writeModels(const std::filesystem::path&) {
    std::fputs("assetgen: model recipes are not written yet\n", stderr);
    return false;
}
