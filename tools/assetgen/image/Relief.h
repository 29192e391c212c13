#pragma once
// Fake lighting of a height field, so stones, pebbles and rock read as raised surfaces.

#include "image/Image.h"

// Shading factor around 1: brighter on slopes facing the light (from the top-left), darker on
// slopes facing away. strength scales the height differences of neighbouring pixels.
Field relief(const Field& height, float strength);
// Multiplies every pixel by the field's value.
Image modulate(const Image& img, const Field& factor);
