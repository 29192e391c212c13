#pragma once
// The texture slots (GL texture names the loading table chooses): decoded pictures of the
// texture bank uploaded into them, through the renderer chosen at start-up. Pixels are packed
// RGB rows, bottom row first.

#include "assets/TextureBank.h"

#include <cstdint>

// Generates n texture names and lets them go unused, so that names generated afterwards stay
// clear of the fixed texture slots the loads bind directly.
void reserveTextureNames(int n);

// The largest side the context takes for a 2D texture, or for a cube map's face.
std::uint32_t largestTextureSide(bool cubeFace);

// The slot's 2D texture from packed RGB rows: linear filtering, repeat wrapping.
void uploadTexture2D(int slot, int width, int height, const unsigned char* rgb);

// Face 0..5 (+X, -X, +Y, -Y, +Z, -Z) of the slot's cube map, sampled nearest until a draw sets
// its wrapping and filtering.
void uploadCubeFace(int slot, int face, int width, int height, const unsigned char* rgb);

// Decodes the file with the bank (refusing pictures larger than the context takes) and uploads
// it as the 2D texture of slot. A file that does not decode leaves the slot as it was.
void loadTexture(TextureBank& bank, const char* path, int slot);

// The same as face 0..5 of the slot's cube map.
void loadCubeFace(TextureBank& bank, const char* path, int slot, int face);
