#include "assets/JpegStb.h"

#include <cstring>
#include <new>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_FAILURE_USERMSG
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#include <stb_image.h>
#pragma GCC diagnostic pop

bool decodeJpegWithStb(std::FILE* stream, std::uint32_t maxSide, DecodedPicture& out, char* error,
                       std::size_t errorSize) {
    const long start = std::ftell(stream);
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_file(stream, &width, &height, &channels)) {
        std::snprintf(error, errorSize, "%s", stbi_failure_reason());
        return false;
    }
    if (maxSide != 0 && (static_cast<std::uint32_t>(width) > maxSide || static_cast<std::uint32_t>(height) > maxSide)) {
        std::snprintf(error, errorSize, "%d x %d pixels: larger than the largest texture, %u x %u", width, height,
                      maxSide, maxSide);
        return false;
    }
    std::fseek(stream, start, SEEK_SET);
    // GL's texture origin is the bottom row.
    stbi_set_flip_vertically_on_load(1);
    unsigned char* rgb = stbi_load_from_file(stream, &width, &height, &channels, 3);
    if (!rgb) {
        std::snprintf(error, errorSize, "%s", stbi_failure_reason());
        return false;
    }
    const std::size_t bytes = std::size_t(width) * std::size_t(height) * 3;
    std::unique_ptr<unsigned char[]> pixels(new (std::nothrow) unsigned char[bytes]);
    if (!pixels) {
        stbi_image_free(rgb);
        std::snprintf(error, errorSize, "out of memory for %d x %d pixels", width, height);
        return false;
    }
    std::memcpy(pixels.get(), rgb, bytes);
    stbi_image_free(rgb);
    out.pixels = std::move(pixels);
    out.width = static_cast<std::uint32_t>(width);
    out.height = static_cast<std::uint32_t>(height);
    return true;
}
