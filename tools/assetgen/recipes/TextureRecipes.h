#pragma once
// The show's 30 textures as recipes over the image operators: one table row per file of
// Images/, with its size, its JPEG settings and the function that paints it.

#include "image/Image.h"
#include "image/JpegFile.h"
#include "image/Text.h"

#include <map>
#include <span>
#include <string>
#include <utility>

// What recipes share during one run: the fonts, opened once, and the pictures several
// recipes derive from (a base and its blurred or saturated variants), painted once.
struct TextureKit {
    Font sans;
    Font sansBold;
    Font mono;
    mutable std::map<std::pair<std::string, int>, Image> pictures; // by recipe name and size
};

// Opens the DejaVu fonts; false (after printing why) if one is missing.
bool openTextureKit(TextureKit& kit);

struct TextureRecipe {
    const char* name = ""; // file stem: Images/<name>.jpg
    int size = 256;        // square, a power of two
    JpegOptions jpeg;
    Image (*paint)(const TextureKit& kit, int size) = nullptr;
};

std::span<const TextureRecipe> textureRecipes();

// "Images/<name>.jpg" relative to the data directory.
std::string texturePath(const TextureRecipe& recipe);
