#pragma once
// The texture bank's uploads into texture slots (GL texture names the loading table chooses),
// through the renderer chosen at start-up. Pixels are packed RGB rows, bottom row first.

#include <cstdint>

// The largest side the context takes for a 2D texture, or for a cube map's face.
std::uint32_t largestTextureSide(bool cubeFace);

// The slot's 2D texture: linear filtering, repeat wrapping.
void uploadTexture2D(int slot, int width, int height, const unsigned char* rgb);

// Face 0..5 (+X, -X, +Y, -Y, +Z, -Z) of the slot's cube map, sampled nearest until a draw sets
// its wrapping and filtering.
void uploadCubeFace(int slot, int face, int width, int height, const unsigned char* rgb);
