// Texture uploads of the bank, through the renderer's uploads.

#include "assets/TextureBank.h"

#include "render/TextureUpload.h"

void TextureBank::loadTexture(const char* path, int slot) {
    maxSide = largestTextureSide(false);
    if (!decodeJpeg(path)) return;
    uploadTexture2D(slot, static_cast<int>(width), static_cast<int>(height), pixels.get());
}

void TextureBank::loadCubeFace(const char* path, int slot, int face) {
    if (face < 0 || face > 5) return; // no such cube face target
    maxSide = largestTextureSide(true);
    if (!decodeJpeg(path)) return;
    uploadCubeFace(slot, face, static_cast<int>(width), static_cast<int>(height), pixels.get());
}
