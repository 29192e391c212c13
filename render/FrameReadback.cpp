#include "render/FrameReadback.h"

#include <GL/gl.h>

#include <cstring>

const uint8_t* FrameReader::read(int width, int height) {
    const size_t row = static_cast<size_t>(width) * 3;
    bottomUp_.resize(row * static_cast<size_t>(height));
    topDown_.resize(bottomUp_.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp_.data());
    for (int y = 0; y < height; ++y)
        std::memcpy(topDown_.data() + row * y, bottomUp_.data() + row * (height - 1 - y), row);
    return topDown_.data();
}
