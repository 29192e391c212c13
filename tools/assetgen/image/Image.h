#pragma once
// The two pixel containers every image operator works on: a scalar Field (one float per pixel,
// used for noise, masks and heights) and an RGB Image. Rows run top to bottom, values are
// nominally 0..1 but operators do not clamp until the image is written out.

#include <cstddef>
#include <cstdint>
#include <vector>

struct Rgb {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator-(Rgb a, Rgb b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
inline Rgb operator*(Rgb a, float s) { return {a.r * s, a.g * s, a.b * s}; }
inline Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Rgb mixRgb(Rgb a, Rgb b, float t) { return a + (b - a) * t; }
inline float luminance(Rgb c) { return 0.299f * c.r + 0.587f * c.g + 0.114f * c.b; }

// 0xRRGGBB, so recipes can name their colours the way a paint program shows them.
inline Rgb hexRgb(uint32_t rgb) {
    return {float((rgb >> 16) & 0xff) / 255.0f, float((rgb >> 8) & 0xff) / 255.0f,
            float(rgb & 0xff) / 255.0f};
}

struct Field {
    int width = 0;
    int height = 0;
    std::vector<float> v;

    Field() = default;
    Field(int w, int h, float fill = 0.0f) : width(w), height(h), v(size_t(w) * size_t(h), fill) {}

    float& at(int x, int y) { return v[size_t(y) * size_t(width) + size_t(x)]; }
    float at(int x, int y) const { return v[size_t(y) * size_t(width) + size_t(x)]; }
    // Every texture is treated as a torus, so sampling outside wraps around.
    float wrapped(int x, int y) const;
    // Bilinear sample at pixel coordinates (pixel centres at integer + 0.5), wrapping.
    float sample(float x, float y) const;
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> px;

    Image() = default;
    Image(int w, int h, Rgb fill = {}) : width(w), height(h), px(size_t(w) * size_t(h), fill) {}

    Rgb& at(int x, int y) { return px[size_t(y) * size_t(width) + size_t(x)]; }
    Rgb at(int x, int y) const { return px[size_t(y) * size_t(width) + size_t(x)]; }
    Rgb wrapped(int x, int y) const;
    Rgb sample(float x, float y) const;
};

// Builds a field from fn(u, v), with u and v the pixel centre in 0..1 across the image.
template <class Fn>
Field generateField(int width, int height, Fn fn) {
    Field f(width, height);
    for (int y = 0; y < height; ++y) {
        const float v = (float(y) + 0.5f) / float(height);
        for (int x = 0; x < width; ++x) f.at(x, y) = fn((float(x) + 0.5f) / float(width), v);
    }
    return f;
}

// Applies fn to every value of a field.
template <class Fn>
Field mapField(Field f, Fn fn) {
    for (float& value : f.v) value = fn(value);
    return f;
}

// Applies fn to every pixel of an image.
template <class Fn>
Image mapImage(Image img, Fn fn) {
    for (Rgb& c : img.px) c = fn(c);
    return img;
}

// Grey image from a field, and the luminance of an image as a field.
Image toImage(const Field& f);
Field toField(const Image& img);
// The picture turned upside down (rows reversed).
Image flipVertical(const Image& img);
// Rows below `line` (0..1 down the picture) mirror the rows above it, as in a glossy floor;
// rows above the line are 0.
Field mirrorBelow(const Field& f, float line);
// Area-averaged reduction to a smaller size; used for thumbnails.
Image downscale(const Image& img, int width, int height);
// Copies src into dst with its top-left at (x, y), clipped to dst.
void paste(Image& dst, const Image& src, int x, int y);
// Tiles the picture count x count times and scales the result back to its own size.
Image tiled(const Image& img, int count);
