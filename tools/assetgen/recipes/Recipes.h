#pragma once
// The show's own content, written as recipes over the image and mesh operators.

#include <filesystem>

// Writes the 30 JPEG textures into dataDir/Images. Returns false (after printing why) on failure.
bool writeTextures(const std::filesystem::path& dataDir);

// Writes every 3DS model into dataDir/Models. Returns false (after printing why) on failure.
bool writeModels(const std::filesystem::path& dataDir);

// Writes a contact sheet of every texture to a PNG file, for review.
bool writeTextureSheet(const std::filesystem::path& dataDir, const std::filesystem::path& pngFile);
