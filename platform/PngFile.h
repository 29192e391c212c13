#pragma once
// PNG files of captured frames.

#include <cstdint>

// Writes an RGB image (rows top to bottom, 3 bytes per pixel) to path. Returns false on failure.
bool writePng(const char* path, const uint8_t* rgb, int width, int height);
