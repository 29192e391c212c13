// JPEG decoding for the texture bank where libjpeg is not at hand (the browser build): stb_image,
// with the same reports as the libjpeg decoder.

#include "assets/JpegStb.h"
#include "assets/TextureBank.h"
#include "platform/Quit.h"

bool TextureBank::decodeJpegStream(std::FILE* stream, const char* name) {
    DecodedPicture picture;
    char error[200] = {};
    if (!decodeJpegWithStb(stream, maxSide, picture, error, sizeof error)) {
        reportUnreadableFile(name);
        std::fprintf(stderr, "%s\n", error);
        return false;
    }
    pixels = std::move(picture.pixels);
    width = picture.width;
    height = picture.height;
    return true;
}
