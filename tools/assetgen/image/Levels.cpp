#include "image/Levels.h"

#include <algorithm>
#include <cmath>

namespace {

float level(float x, float low, float high, float gamma) {
    const float t = std::clamp((x - low) / (high - low), 0.0f, 1.0f);
    return gamma == 1.0f ? t : std::pow(t, gamma);
}

} // namespace

Field levels(const Field& f, float low, float high, float gamma) {
    return mapField(f, [&](float x) { return level(x, low, high, gamma); });
}

Image levels(const Image& img, float low, float high, float gamma) {
    return mapImage(img, [&](Rgb c) {
        return Rgb{level(c.r, low, high, gamma), level(c.g, low, high, gamma), level(c.b, low, high, gamma)};
    });
}

Field normalize(const Field& f) {
    const auto [lo, hi] = std::minmax_element(f.v.begin(), f.v.end());
    const float low = *lo;
    const float range = *hi - *lo;
    if (range <= 0.0f) return mapField(f, [](float) { return 0.0f; });
    return mapField(f, [&](float x) { return (x - low) / range; });
}

Field smoothstep(const Field& f, float edge0, float edge1) {
    return mapField(f, [&](float x) {
        const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
        return t * t * (3.0f - 2.0f * t);
    });
}

Image contrast(const Image& img, float amount, float pivot) {
    return mapImage(img, [&](Rgb c) {
        return Rgb{(c.r - pivot) * amount + pivot, (c.g - pivot) * amount + pivot,
                   (c.b - pivot) * amount + pivot};
    });
}

Image saturate(const Image& img, float amount) {
    return mapImage(img, [&](Rgb c) {
        const float l = luminance(c);
        return mixRgb(Rgb{l, l, l}, c, amount);
    });
}

Image greyscale(const Image& img) { return saturate(img, 0.0f); }

Image tint(const Image& img, Rgb colour) {
    return mapImage(img, [&](Rgb c) { return c * colour; });
}

Image clamp01(const Image& img) {
    return mapImage(img, [](Rgb c) {
        return Rgb{std::clamp(c.r, 0.0f, 1.0f), std::clamp(c.g, 0.0f, 1.0f), std::clamp(c.b, 0.0f, 1.0f)};
    });
}
