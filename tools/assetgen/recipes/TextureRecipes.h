#pragma once
// The show's 30 textures as recipes over the image operators: one table row per file of
// Images/, with its size, its JPEG settings and the function that paints it.

#include "image/Image.h"
#include "image/JpegFile.h"
#include "image/Text.h"

#include <span>
#include <string>

// Fonts shared by the text recipes, opened once per run.
struct TextureKit {
    Font sans;
    Font sansBold;
    Font mono;
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
