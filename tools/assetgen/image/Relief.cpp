#include "image/Relief.h"

Field relief(const Field& height, float strength) {
    Field out(height.width, height.height);
    // Height differences are per pixel; scale them by the size so a recipe looks the same at
    // 256 and 512 pixels.
    const float k = strength * float(height.width) / 256.0f;
    for (int y = 0; y < height.height; ++y)
        for (int x = 0; x < height.width; ++x)
            out.at(x, y) = 1.0f + k * (height.wrapped(x + 1, y + 1) - height.wrapped(x - 1, y - 1));
    return out;
}

Image modulate(const Image& img, const Field& factor) {
    Image out = img;
    for (size_t i = 0; i < out.px.size(); ++i) out.px[i] = out.px[i] * factor.v[i];
    return out;
}
