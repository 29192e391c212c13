#include "image/JpegFile.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include <jpeglib.h>

namespace {

// libjpeg's default error handler ends the process; this one jumps back so callers get false.
struct ErrorJump {
    jpeg_error_mgr manager{};
    std::jmp_buf jump{};
};

[[noreturn]] void jumpOnError(j_common_ptr info) {
    ErrorJump* err = reinterpret_cast<ErrorJump*>(info->err);
    std::longjmp(err->jump, 1);
}

uint8_t toByte(float v) { return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

} // namespace

std::vector<uint8_t> encodeJpeg(const Image& img, const JpegOptions& options) {
    std::vector<uint8_t> rgb(size_t(img.width) * size_t(img.height) * 3u, 0);
    for (size_t i = 0; i < img.px.size(); ++i) {
        rgb[3 * i + 0] = toByte(img.px[i].r);
        rgb[3 * i + 1] = toByte(img.px[i].g);
        rgb[3 * i + 2] = toByte(img.px[i].b);
    }
    std::vector<uint8_t> result;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_compress_struct cinfo{};
    ErrorJump err;
    cinfo.err = jpeg_std_error(&err.manager);
    err.manager.error_exit = jumpOnError;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
        return {};
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(img.width);
    cinfo.image_height = JDIMENSION(img.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, options.quality, TRUE);
    cinfo.optimize_coding = TRUE;
    cinfo.dct_method = JDCT_ISLOW;
    if (options.fullChroma) {
        cinfo.comp_info[0].h_samp_factor = 1;
        cinfo.comp_info[0].v_samp_factor = 1;
    }
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = &rgb[size_t(cinfo.next_scanline) * size_t(img.width) * 3u];
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    result.assign(buffer, buffer + size);
    std::free(buffer);
    return result;
}

bool writeJpeg(const Image& img, const std::filesystem::path& file, const JpegOptions& options) {
    const std::vector<uint8_t> data = encodeJpeg(img, options);
    if (data.empty()) {
        std::fprintf(stderr, "assetgen: JPEG encoding failed for %s\n", file.c_str());
        return false;
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    if (!out) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", file.c_str());
        return false;
    }
    return true;
}

bool readJpeg(const std::filesystem::path& file, DecodedJpeg& out) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    const std::vector<unsigned char> data{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    if (data.empty()) return false;
    jpeg_decompress_struct cinfo{};
    ErrorJump err;
    cinfo.err = jpeg_std_error(&err.manager);
    err.manager.error_exit = jumpOnError;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    out.width = int(cinfo.output_width);
    out.height = int(cinfo.output_height);
    out.components = cinfo.output_components;
    out.bytes.assign(size_t(out.width) * size_t(out.height) * size_t(out.components), 0);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = &out.bytes[size_t(cinfo.output_scanline) * size_t(out.width) * size_t(out.components)];
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

Image toImage(const DecodedJpeg& jpeg) {
    Image img(jpeg.width, jpeg.height);
    for (size_t i = 0; i < img.px.size(); ++i) {
        const uint8_t* p = &jpeg.bytes[i * size_t(jpeg.components)];
        const bool colour = jpeg.components >= 3;
        img.px[i] = {float(p[0]) / 255.0f, float(p[colour ? 1 : 0]) / 255.0f,
                     float(p[colour ? 2 : 0]) / 255.0f};
    }
    return img;
}
