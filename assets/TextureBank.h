#pragma once
// TextureBank: decodes JPEG files one at a time into a reusable RGB buffer, which the renderer
// uploads into texture slots (GL texture names chosen by the caller) as a 2D texture or as one
// face of a cube map (loadTexture and loadCubeFace in render/TextureUpload.h). Used only at
// start-up; the textures then live in GL.

#include <cstdint>
#include <cstdio>
#include <memory>

struct TextureBank {
    // The last decoded image, width x height x 3 bytes (R, G, B), bottom row first.
    std::unique_ptr<unsigned char[]> pixels;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // Pictures wider or taller than this are refused before they are decoded (0: no limit). The
    // loads set it to what the context can hold.
    std::uint32_t maxSide = 0;

    // Decodes the file into pixels. A missing, corrupt, truncated or oversized file, or one there
    // is no memory for, is reported as a start-up error ("Can't load file ...") and leaves the
    // previous image in place.
    bool decodeJpeg(const char* path);
    // The same from an open stream, read from its current position; name is used in the message.
    bool decodeJpegStream(std::FILE* stream, const char* name);
};
