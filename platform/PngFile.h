#pragma once
// PNG files of captured frames.

#include <cstdint>

// Writes an RGB image (rows top to bottom, 3 bytes per pixel) to path, under a temporary name
// until it is whole. Returns false with the errno of the step that failed in error; nothing is
// left behind then, and a file that was at path is untouched.
bool writePng(const char* path, const uint8_t* rgb, int width, int height, int& error);
