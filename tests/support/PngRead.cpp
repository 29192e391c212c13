#include "support/PngRead.h"

#include <png.h>

double RgbImage::mean(int x0, int y0, int x1, int y1, int channel) const {
    double sum = 0.0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) sum += rgb[(static_cast<size_t>(y) * width + x) * 3 + channel];
    const int count = (x1 - x0) * (y1 - y0);
    return count > 0 ? sum / count : 0.0;
}

bool readPng(const std::string& path, RgbImage& out) {
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.rgb.assign(PNG_IMAGE_SIZE(image), 0);
    const bool ok = png_image_finish_read(&image, nullptr, out.rgb.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return ok;
}
