#pragma once
// Reads a PNG the program wrote, as 8-bit RGB rows from the top.

#include <string>
#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    // Mean of one channel over the block [x0, x1) x [y0, y1).
    double mean(int x0, int y0, int x1, int y1, int channel) const;
};

// False when the file is missing or not a PNG.
bool readPng(const std::string& path, RgbImage& out);
