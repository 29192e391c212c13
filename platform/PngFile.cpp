#include "platform/PngFile.h"

#include "platform/PendingFile.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace {

// libpng reports a failed fwrite as "Write Error": the system's reason is the errno it left.
[[noreturn]] void onPngError(png_structp png, png_const_charp) {
    int* error = static_cast<int*>(png_get_error_ptr(png));
    *error = errno ? errno : EIO;
    png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

// The whole image into f. False when libpng failed, with the reason in error.
bool encodePng(std::FILE* f, const uint8_t* rgb, int width, int height, int& error) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, onPngError, onPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        error = ENOMEM;
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    errno = 0;
    png_init_io(png, f);
    // Fast compression: captures write many frames, and size matters less than time.
    png_set_compression_level(png, 3);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) png_write_row(png, rgb + static_cast<size_t>(y) * width * 3);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool writePng(const char* path, const uint8_t* rgb, int width, int height, int& error) {
    PendingFile pending;
    const int fd = pending.create(path);
    std::FILE* f = fd >= 0 ? fdopen(fd, "wb") : nullptr;
    if (!f) {
        error = errno;
        if (fd >= 0) close(fd);
        return false;
    }
    error = 0;
    encodePng(f, rgb, width, height, error);
    // The last buffered bytes reach the disk only here: a full disk often shows up at the close.
    if (std::fflush(f) != 0 && !error) error = errno;
    if (std::fclose(f) != 0 && !error) error = errno;
    if (!error && !pending.commit()) error = errno;
    return error == 0; // a partial file goes with `pending`
}
