#pragma once
// PNG output for review pictures (the contact sheet); the demo itself reads no PNG.

#include "image/Image.h"

#include <filesystem>

bool writePng(const Image& img, const std::filesystem::path& file);
