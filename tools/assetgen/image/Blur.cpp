#include "image/Blur.h"

#include <cmath>
#include <vector>

namespace {

// Box half-width whose three-pass repetition approximates a Gaussian of this deviation.
int boxHalfWidth(float sigma) {
    const float width = std::sqrt(12.0f * sigma * sigma / 3.0f + 1.0f);
    return int(std::lround((width - 1.0f) * 0.5f));
}

// One running-sum box pass over `count` values spaced `stride` apart, wrapping at the ends.
template <class T>
void boxLine(T* data, int count, int stride, int half, std::vector<T>& scratch) {
    scratch.resize(size_t(count));
    for (int i = 0; i < count; ++i) scratch[size_t(i)] = data[size_t(i) * size_t(stride)];
    const float scale = 1.0f / float(2 * half + 1);
    auto at = [&](int i) { return scratch[size_t(((i % count) + count) % count)]; };
    T sum{};
    for (int i = -half; i <= half; ++i) sum = sum + at(i);
    for (int i = 0; i < count; ++i) {
        data[size_t(i) * size_t(stride)] = sum * scale;
        sum = sum + at(i + half + 1) - at(i - half);
    }
}

template <class Pixels, class T>
Pixels blurPixels(Pixels p, float radius, bool vertical) {
    const int half = boxHalfWidth(radius);
    if (half <= 0) return p;
    std::vector<T> scratch;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < p.height; ++y) boxLine(&p.at(0, y), p.width, 1, half, scratch);
        if (vertical)
            for (int x = 0; x < p.width; ++x) boxLine(&p.at(x, 0), p.height, p.width, half, scratch);
    }
    return p;
}

} // namespace

Field blur(const Field& f, float radius) { return blurPixels<Field, float>(f, radius, true); }
Image blur(const Image& img, float radius) { return blurPixels<Image, Rgb>(img, radius, true); }
Image blurHorizontal(const Image& img, float radius) { return blurPixels<Image, Rgb>(img, radius, false); }
