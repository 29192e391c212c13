#pragma once
// Layer blending, as in a paint program: a layer over a base with a mode and an opacity,
// optionally through a mask field.

#include "image/Image.h"

enum class BlendMode { normal, multiply, add, screen, overlay };

Image blend(const Image& base, const Image& layer, BlendMode mode, float opacity = 1.0f);
// The mask (0..1 per pixel) scales the opacity.
Image blend(const Image& base, const Image& layer, BlendMode mode, const Field& mask, float opacity = 1.0f);

// Field arithmetic that recipes combine masks and heights with.
Field add(const Field& a, const Field& b, float bScale = 1.0f);
Field multiply(const Field& a, const Field& b);
Field mix(const Field& a, const Field& b, const Field& t);
Field maximum(const Field& a, const Field& b);
