// The texture slots as desktop GL keeps them.
#include "render/Backend.h"

#include "render/gl/CommonGl.h"
#include <GL/gl.h>
#include <GL/glext.h>


namespace fixed {

namespace {

// Rows are packed (width x 3 bytes); GL's default unpack alignment of 4 would read rows of odd
// widths from the wrong place and past the end of the buffer.
void uploadPacked(GLenum target, int width, int height, const unsigned char* rgb) {
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(target, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

void uploadTexture2D(int slot, int width, int height, const unsigned char* rgb) {
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(slot));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    uploadPacked(GL_TEXTURE_2D, width, height, rgb);
}

void uploadCubeFace(int slot, int face, int width, int height, const unsigned char* rgb) {
    glBindTexture(GL_TEXTURE_CUBE_MAP, static_cast<GLuint>(slot));
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    uploadPacked(static_cast<GLenum>(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face), width, height, rgb);
}

bool readTexture2D(int slot, int& width, int& height, std::vector<std::uint8_t>& rgba) {
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(slot));
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    if (width <= 0 || height <= 0) return false;
    rgba.resize(static_cast<std::size_t>(4 * width * height));
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return true;
}

} // namespace

extern const TextureOps textureOps{.reserveTextureNames = gl::reserveTextureNames,
                                   .largestTextureSide = gl::largestTextureSide,
                                   .uploadTexture2D = uploadTexture2D,
                                   .uploadCubeFace = uploadCubeFace,
                                   .readTexture2D = readTexture2D};

} // namespace fixed
