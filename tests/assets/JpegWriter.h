#pragma once
// Encodes test pictures with libjpeg's compression side, so texture tests and fuzz seeds use
// JPEG files our own code made.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace jpegtest {

// components: 1 grey, 3 RGB, 4 CMYK (written with an Adobe marker). Rows are top row first.
inline std::vector<unsigned char> encode(const std::vector<unsigned char>& pixels, int width, int height,
                                         int components = 3, int quality = 100, bool progressive = false) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    // Full-resolution chroma keeps flat colour blocks exact enough to compare.
    for (int c = 0; c < cinfo.num_components; ++c)
        cinfo.comp_info[c].h_samp_factor = 1, cinfo.comp_info[c].v_samp_factor = 1;
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(&pixels[cinfo.next_scanline * width * components]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<unsigned char> bytes(out, out + size);
    jpeg_destroy_compress(&cinfo);
    std::free(out);
    return bytes;
}

struct Rgb {
    unsigned char r = 0, g = 0, b = 0;
};

// A picture of four flat quadrants: top-left, top-right, bottom-left, bottom-right.
inline std::vector<unsigned char> quadrants(int width, int height, Rgb tl, Rgb tr, Rgb bl, Rgb br) {
    std::vector<unsigned char> p(static_cast<std::size_t>(width * height * 3));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool top = y < height / 2, left = x < width / 2;
            const Rgb c = top ? (left ? tl : tr) : (left ? bl : br);
            unsigned char* q = &p[static_cast<std::size_t>((y * width + x) * 3)];
            q[0] = c.r, q[1] = c.g, q[2] = c.b;
        }
    return p;
}

inline std::vector<unsigned char> flat(int width, int height, Rgb c) {
    return quadrants(width, height, c, c, c, c);
}

} // namespace jpegtest
