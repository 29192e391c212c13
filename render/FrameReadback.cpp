// Both back ends read RGBA, the one form WebGL reads back.
#include "render/FrameReadback.h"

#include "render/Backends.h"

const uint8_t* FrameReader::read(int width, int height) {
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    bottomUp_.resize(4 * pixels);
    topDown_.resize(3 * pixels);
    backend().frame->readWindowRgba(width, height, bottomUp_.data());
    for (int y = 0; y < height; ++y) {
        const uint8_t* in =
            bottomUp_.data() + 4 * static_cast<size_t>(width) * static_cast<size_t>(height - 1 - y);
        uint8_t* out = topDown_.data() + 3 * static_cast<size_t>(width) * static_cast<size_t>(y);
        for (int x = 0; x < width; ++x, in += 4, out += 3) out[0] = in[0], out[1] = in[1], out[2] = in[2];
    }
    return topDown_.data();
}
