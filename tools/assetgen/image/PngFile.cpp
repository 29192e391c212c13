#include "image/PngFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

bool writePng(const Image& img, const std::filesystem::path& file) {
    std::vector<uint8_t> rgb(img.px.size() * 3u, 0);
    for (size_t i = 0; i < img.px.size(); ++i) {
        rgb[3 * i + 0] = uint8_t(std::lround(std::clamp(img.px[i].r, 0.0f, 1.0f) * 255.0f));
        rgb[3 * i + 1] = uint8_t(std::lround(std::clamp(img.px[i].g, 0.0f, 1.0f) * 255.0f));
        rgb[3 * i + 2] = uint8_t(std::lround(std::clamp(img.px[i].b, 0.0f, 1.0f) * 255.0f));
    }
    if (!stbi_write_png(file.c_str(), img.width, img.height, 3, rgb.data(), img.width * 3)) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", file.c_str());
        return false;
    }
    return true;
}
