#include "render/TextureUpload.h"

#include "render/Backends.h"

void reserveTextureNames(int n) { backend().texture->reserveTextureNames(n); }

std::uint32_t largestTextureSide(bool cubeFace) { return backend().texture->largestTextureSide(cubeFace); }

void uploadTexture2D(int slot, int width, int height, const unsigned char* rgb) {
    backend().texture->uploadTexture2D(slot, width, height, rgb);
}

void uploadCubeFace(int slot, int face, int width, int height, const unsigned char* rgb) {
    backend().texture->uploadCubeFace(slot, face, width, height, rgb);
}

void loadTexture(TextureBank& bank, const char* path, int slot) {
    bank.maxSide = largestTextureSide(false);
    if (!bank.decodeJpeg(path)) return;
    uploadTexture2D(slot, static_cast<int>(bank.width), static_cast<int>(bank.height), bank.pixels.get());
}

void loadCubeFace(TextureBank& bank, const char* path, int slot, int face) {
    if (face < 0 || face > 5) return; // no such cube face target
    bank.maxSide = largestTextureSide(true);
    if (!bank.decodeJpeg(path)) return;
    uploadCubeFace(slot, face, static_cast<int>(bank.width), static_cast<int>(bank.height), bank.pixels.get());
}
