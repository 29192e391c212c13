#pragma once
// The models' half of the review sheet: a thumbnail pair of every model with its name and counts.

#include <filesystem>

bool writeModelSheet(const std::filesystem::path& pngFile);
