#include "image/Warp.h"

namespace {

template <class Pixels>
Pixels warpPixels(const Pixels& src, const Field& dx, const Field& dy, float amount) {
    Pixels out = src;
    const float ax = amount * float(src.width);
    const float ay = amount * float(src.height);
    for (int y = 0; y < src.height; ++y)
        for (int x = 0; x < src.width; ++x)
            out.at(x, y) = src.sample(float(x) + 0.5f + ax * dx.at(x, y), float(y) + 0.5f + ay * dy.at(x, y));
    return out;
}

} // namespace

Field warp(const Field& src, const Field& dx, const Field& dy, float amount) {
    return warpPixels(src, dx, dy, amount);
}

Image warp(const Image& src, const Field& dx, const Field& dy, float amount) {
    return warpPixels(src, dx, dy, amount);
}
