#pragma once
// JPEG decoding through stb_image, for the build without libjpeg (the browser's). It gives the
// same RGB bytes as libjpeg's decoder for the show's pictures; a test holds the two together.

#include <cstdint>
#include <cstdio>
#include <memory>

struct DecodedPicture {
    std::unique_ptr<unsigned char[]> pixels; // width x height x 3 bytes (R, G, B), bottom row first
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Decodes the stream from its current position. maxSide refuses larger pictures before they are
// decoded (0: no limit). On failure returns false with the reason in error.
bool decodeJpegWithStb(std::FILE* stream, std::uint32_t maxSide, DecodedPicture& out, char* error,
                       std::size_t errorSize);
