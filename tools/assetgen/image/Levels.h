#pragma once
// Tonal operators: levels, normalisation, contrast and colour saturation.

#include "image/Image.h"

// Maps [low, high] to [0, 1], clamps, then applies the gamma exponent.
Field levels(const Field& f, float low, float high, float gamma = 1.0f);
Image levels(const Image& img, float low, float high, float gamma = 1.0f);
// Stretches the field's own minimum and maximum to 0 and 1.
Field normalize(const Field& f);
// Smooth 0..1 step between edge0 and edge1.
Field smoothstep(const Field& f, float edge0, float edge1);
// Scales each channel's distance from the pivot grey.
Image contrast(const Image& img, float amount, float pivot = 0.5f);
// Moves each pixel away from (amount > 1) or towards (amount < 1) its own grey.
Image saturate(const Image& img, float amount);
Image greyscale(const Image& img);
// Per-channel multiply by a colour.
Image tint(const Image& img, Rgb colour);
// Clamps every channel to 0..1.
Image clamp01(const Image& img);
