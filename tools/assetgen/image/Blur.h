#pragma once
// Near-Gaussian blur from three box passes per axis. Edges wrap, as every texture here is a
// torus; the pictures that are not (the panoramas) are only blurred sideways where they do wrap.

#include "image/Image.h"

// radius is the Gaussian's standard deviation in pixels; 0 returns the input unchanged.
Field blur(const Field& f, float radius);
Image blur(const Image& img, float radius);
// Horizontal-only blur, for streaks and for pictures that wrap only sideways.
Image blurHorizontal(const Image& img, float radius);
