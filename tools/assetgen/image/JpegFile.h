#pragma once
// JPEG files through libjpeg: the writer used for every texture, and a reader for the review
// sheet and the tests (the demo has its own loader).

#include "image/Image.h"

#include <cstdint>
#include <filesystem>
#include <vector>

struct JpegOptions {
    int quality = 90;
    // 4:4:4 chroma instead of 4:2:0: keeps thin coloured lines and text edges clean.
    bool fullChroma = false;
};

// Encodes an RGB JPEG (values clamped to 0..1 and rounded). Deterministic: baseline
// integer DCT with optimised Huffman tables, no timestamps or comments.
std::vector<uint8_t> encodeJpeg(const Image& img, const JpegOptions& options);
// Encodes and writes the file; false (after printing why) on failure.
bool writeJpeg(const Image& img, const std::filesystem::path& file, const JpegOptions& options);

struct DecodedJpeg {
    int width = 0;
    int height = 0;
    int components = 0;
    std::vector<uint8_t> bytes; // rows top first, `components` bytes per pixel
};

// Decodes with the library defaults; false on unreadable or corrupt data.
bool readJpeg(const std::filesystem::path& file, DecodedJpeg& out);
// The decoded picture as an Image (grey files become grey RGB).
Image toImage(const DecodedJpeg& jpeg);
