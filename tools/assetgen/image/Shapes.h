#pragma once
// Soft-edged shapes and gradients as masks, in image-relative coordinates (0..1 across).
// Shapes wrap sideways, so a light placed at the right edge reappears at the left.

#include "image/Image.h"

#include <cstdint>

struct Box {
    float x0 = 0.0f, y0 = 0.0f, x1 = 0.0f, y1 = 0.0f;
};

// 1 inside the rounded box, falling smoothly to 0 over `feather` outside it.
Field softBox(int width, int height, Box box, float cornerRadius, float feather);
// 1 at the centre falling to 0 at `radius` as (1 - d / radius)^exponent.
Field radialGlow(int width, int height, float cx, float cy, float radius, float exponent);
// 1 below a random skyline that wraps sideways: its height at u is base - amplitude * p(u)
// with p a smooth 0..1 profile of `period` bumps plus roughness at three times the frequency.
// The edge is anti-aliased over two pixels.
Field skyline(int width, int height, float base, float amplitude, int period, float roughness, uint32_t seed);
// Top-to-bottom ramp: 0 at the top row, 1 at the bottom.
Field verticalRamp(int width, int height);
// Sinusoidal bands across y (count of them over the image height), 0..1.
Field bands(int width, int height, float count, float phase);
// `rays` soft spokes from the centre, narrower as sharpness grows, fading out at radius
// (relative to the image width).
Field starburst(int width, int height, int rays, float sharpness, float radius);
// A thin ring around (cx, cy): 1 at `radius`, falling off over `thickness` on both sides.
Field ring(int width, int height, float cx, float cy, float radius, float thickness);
