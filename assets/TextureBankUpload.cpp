// Texture uploads of the bank: the one place in assets/ that talks to GL.

#include "assets/TextureBank.h"

#include <GL/gl.h>
#include <GL/glext.h>

namespace {

// Rows of the bank are packed (width x 3 bytes); GL's default unpack alignment of 4 would read
// rows of odd widths from the wrong place and past the end of the buffer.
void uploadPacked(GLenum target, const TextureBank& bank) {
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(target, 0, GL_RGB, static_cast<GLsizei>(bank.width), static_cast<GLsizei>(bank.height), 0,
                 GL_RGB, GL_UNSIGNED_BYTE, bank.pixels.get());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

// The largest side the context takes for this kind of texture.
std::uint32_t largestSide(GLenum query) {
    GLint side = 0;
    glGetIntegerv(query, &side);
    return side > 0 ? static_cast<std::uint32_t>(side) : 0;
}

} // namespace

void TextureBank::loadTexture(const char* path, int slot) {
    maxSide = largestSide(GL_MAX_TEXTURE_SIZE);
    if (!decodeJpeg(path)) return;
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(slot));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    uploadPacked(GL_TEXTURE_2D, *this);
}

void TextureBank::loadCubeFace(const char* path, int slot, int face) {
    if (face < 0 || face > 5) return; // no such cube face target
    maxSide = largestSide(GL_MAX_CUBE_MAP_TEXTURE_SIZE);
    if (!decodeJpeg(path)) return;
    glBindTexture(GL_TEXTURE_CUBE_MAP, static_cast<GLuint>(slot));
    // Wrapping and final filtering are set by the renderer each time it uses the cube map.
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    uploadPacked(static_cast<GLenum>(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face), *this);
}
