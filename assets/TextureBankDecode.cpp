// JPEG decoding for the texture bank, on libjpeg's decompression interface. The library's
// standard error manager would end the process on bad data; ours jumps back here instead, so a
// bad file takes the same reported path as a missing one and the decoder and file are released.

#include "assets/TextureBank.h"
#include "platform/Quit.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include <jpeglib.h>

#include <jerror.h>

namespace {

struct ErrorEscape {
    jpeg_error_mgr pub; // first, so the library's pointer to it is a pointer to this
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void escapeOnError(j_common_ptr cinfo) {
    ErrorEscape* e = reinterpret_cast<ErrorEscape*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, e->message);
    std::longjmp(e->escape, 1);
}

// Warnings that mean image data was lost (a truncated file decodes as grey rows, a damaged
// segment as smeared blocks) count as errors: the picture would not be the one in the file.
// Harmless ones (unknown JFIF revision, stray bytes between markers) and trace messages pass.
void escapeOnWarning(j_common_ptr cinfo, int level) {
    if (level >= 0) return;
    switch (cinfo->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_MUST_RESYNC:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_BOGUS_PROGRESSION:
        escapeOnError(cinfo);
    default:
        cinfo->err->num_warnings++;
        break;
    }
}

// Everything the decoder touches between setjmp and a longjmp lives here, outside the frame
// that calls setjmp, so its values are well defined after the jump.
struct DecodeJob {
    jpeg_decompress_struct cinfo;
    ErrorEscape error;
    unsigned char* image = nullptr; // decoded rows, top row first
    JSAMPROW* rows = nullptr;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t maxSide = 0;
    bool adobeCmyk = false; // four-channel output, inverted as Adobe writes it
    bool cmyk = false;
};

// Turns CMYK output rows into RGB in place (the decoder converts only grey and YCbCr to RGB).
void cmykToRgb(DecodeJob& job) {
    const std::size_t count = std::size_t{job.width} * job.height;
    const unsigned char* src = job.image;
    unsigned char* dst = job.image;
    for (std::size_t i = 0; i < count; ++i, src += 4, dst += 3) {
        unsigned c = src[0], m = src[1], y = src[2], k = src[3];
        if (!job.adobeCmyk) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        const unsigned char r = static_cast<unsigned char>(c * k / 255);
        const unsigned char g = static_cast<unsigned char>(m * k / 255);
        const unsigned char b = static_cast<unsigned char>(y * k / 255);
        dst[0] = r, dst[1] = g, dst[2] = b;
    }
}

bool runDecoder(DecodeJob& job, std::FILE* file) {
    if (setjmp(job.error.escape)) return false;
    jpeg_create_decompress(&job.cinfo);
    jpeg_stdio_src(&job.cinfo, file);
    jpeg_read_header(&job.cinfo, TRUE);
    if (job.maxSide != 0 && (job.cinfo.image_width > job.maxSide || job.cinfo.image_height > job.maxSide)) {
        std::snprintf(job.error.message, sizeof job.error.message,
                      "%u x %u pixels: larger than the largest texture, %u x %u", job.cinfo.image_width,
                      job.cinfo.image_height, job.maxSide, job.maxSide);
        return false;
    }
    // Grey and YCbCr files come out as RGB triples; CMYK ones as four channels we convert.
    job.cmyk = job.cinfo.jpeg_color_space == JCS_CMYK || job.cinfo.jpeg_color_space == JCS_YCCK;
    job.adobeCmyk = job.cmyk && job.cinfo.saw_Adobe_marker;
    job.cinfo.out_color_space = job.cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&job.cinfo);

    const std::size_t components = static_cast<std::size_t>(job.cinfo.output_components);
    if (components != (job.cmyk ? 4u : 3u)) {
        std::snprintf(job.error.message, sizeof job.error.message, "%d colour components",
                      job.cinfo.output_components);
        return false;
    }
    job.width = job.cinfo.output_width;
    job.height = job.cinfo.output_height;
    const std::size_t stride = std::size_t{job.width} * components;
    job.image = static_cast<unsigned char*>(std::malloc(stride * job.height + 1));
    job.rows = static_cast<JSAMPROW*>(std::malloc(sizeof(JSAMPROW) * job.height + 1));
    if (!job.image || !job.rows) {
        std::snprintf(job.error.message, sizeof job.error.message, "out of memory for %u x %u pixels",
                      job.width, job.height);
        return false;
    }
    for (std::uint32_t r = 0; r < job.height; ++r) job.rows[r] = job.image + r * stride;
    JDIMENSION done = 0;
    while (job.cinfo.output_scanline < job.cinfo.output_height)
        done += jpeg_read_scanlines(&job.cinfo, job.rows + done, job.cinfo.output_height - done);
    std::free(job.rows);
    job.rows = nullptr;
    jpeg_finish_decompress(&job.cinfo);
    if (job.cmyk) cmykToRgb(job);
    return true;
}

} // namespace

bool TextureBank::decodeJpegStream(std::FILE* stream, const char* name) {
    DecodeJob job{};
    job.maxSide = maxSide;
    job.cinfo.err = jpeg_std_error(&job.error.pub);
    job.error.pub.error_exit = escapeOnError;
    job.error.pub.emit_message = escapeOnWarning;
    const bool decoded = runDecoder(job, stream);
    std::free(job.rows);
    jpeg_destroy_decompress(&job.cinfo);
    if (!decoded) {
        std::free(job.image);
        reportUnreadableAsset(name, job.error.message[0] ? job.error.message : "not a JPEG picture");
        return false;
    }

    // Flip: the bank keeps the bottom row first, as GL's texture origin expects.
    const std::size_t stride = std::size_t{job.width} * 3;
    std::unique_ptr<unsigned char[]> flipped(new (std::nothrow) unsigned char[stride * job.height]);
    if (!flipped) {
        std::free(job.image);
        char reason[64];
        std::snprintf(reason, sizeof reason, "out of memory for %u x %u pixels", job.width, job.height);
        reportUnreadableAsset(name, reason);
        return false;
    }
    for (std::uint32_t i = 0; i < job.height; ++i)
        std::memcpy(flipped.get() + i * stride, job.image + (job.height - 1 - i) * stride, stride);
    std::free(job.image);
    pixels = std::move(flipped);
    width = job.width;
    height = job.height;
    return true;
}
