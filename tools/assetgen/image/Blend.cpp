#include "image/Blend.h"

#include <algorithm>

namespace {

float channel(float b, float l, BlendMode mode) {
    switch (mode) {
    case BlendMode::normal:
        return l;
    case BlendMode::multiply:
        return b * l;
    case BlendMode::add:
        return b + l;
    case BlendMode::screen:
        return 1.0f - (1.0f - b) * (1.0f - l);
    case BlendMode::overlay:
        return b < 0.5f ? 2.0f * b * l : 1.0f - 2.0f * (1.0f - b) * (1.0f - l);
    }
    return l;
}

Rgb blendPixel(Rgb b, Rgb l, BlendMode mode, float opacity) {
    const Rgb mixed{channel(b.r, l.r, mode), channel(b.g, l.g, mode), channel(b.b, l.b, mode)};
    return mixRgb(b, mixed, opacity);
}

} // namespace

Image blend(const Image& base, const Image& layer, BlendMode mode, float opacity) {
    Image out = base;
    for (size_t i = 0; i < out.px.size(); ++i) out.px[i] = blendPixel(base.px[i], layer.px[i], mode, opacity);
    return out;
}

Image blend(const Image& base, const Image& layer, BlendMode mode, const Field& mask, float opacity) {
    Image out = base;
    for (size_t i = 0; i < out.px.size(); ++i)
        out.px[i] = blendPixel(base.px[i], layer.px[i], mode, mask.v[i] * opacity);
    return out;
}

Field add(const Field& a, const Field& b, float bScale) {
    Field out = a;
    for (size_t i = 0; i < out.v.size(); ++i) out.v[i] += b.v[i] * bScale;
    return out;
}

Field multiply(const Field& a, const Field& b) {
    Field out = a;
    for (size_t i = 0; i < out.v.size(); ++i) out.v[i] *= b.v[i];
    return out;
}

Field mix(const Field& a, const Field& b, const Field& t) {
    Field out = a;
    for (size_t i = 0; i < out.v.size(); ++i) out.v[i] = a.v[i] + (b.v[i] - a.v[i]) * t.v[i];
    return out;
}

Field maximum(const Field& a, const Field& b) {
    Field out = a;
    for (size_t i = 0; i < out.v.size(); ++i) out.v[i] = std::max(a.v[i], b.v[i]);
    return out;
}
