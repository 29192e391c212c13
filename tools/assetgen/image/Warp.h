#pragma once
// Domain warping: each pixel samples its source at an offset read from two displacement
// fields. Turns straight lines into worms and round cells into pebbles.

#include "image/Image.h"

// Offsets are dx, dy times amount, in fractions of the image size; sampling wraps.
Field warp(const Field& src, const Field& dx, const Field& dy, float amount);
Image warp(const Image& src, const Field& dx, const Field& dy, float amount);
