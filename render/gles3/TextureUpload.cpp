// The texture slots in the ES context: sizes and wraps noted in State.h, read back through a
// framebuffer.
#include "render/Backend.h"

#include "render/gl/CommonGl.h"
#include "glext/EsTable.h"
#include "render/gles3/State.h"


namespace gles3 {

namespace {

// Rows are packed (width x 3 bytes): unpack alignment 1 for the upload, then back to GL's 4.
void uploadPacked(GLenum target, int width, int height, const unsigned char* rgb) {
    es::glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    es::glTexImage2D(target, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    es::glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

void uploadTexture2D(int slot, int width, int height, const unsigned char* rgb) {
    const GLuint texture = static_cast<GLuint>(slot);
    bindTexture2D(texture);
    es::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    es::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    setWrap(texture, Wrap::Repeat);
    uploadPacked(GL_TEXTURE_2D, width, height, rgb);
    noteTextureSize(texture, width, height);
}

void uploadCubeFace(int slot, int face, int width, int height, const unsigned char* rgb) {
    es::glBindTexture(GL_TEXTURE_CUBE_MAP, static_cast<GLuint>(slot));
    es::glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    es::glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    uploadPacked(static_cast<GLenum>(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face), width, height, rgb);
}

bool readTexture2D(int slot, int& width, int& height, std::vector<std::uint8_t>& rgba) {
    const GLuint texture = static_cast<GLuint>(slot);
    textureSizeOf(texture, width, height);
    if (width <= 0 || height <= 0) return false;
    // ES reads textures back only through a framebuffer they are attached to.
    GLint previous = 0;
    es::glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
    GLuint framebuffer = 0;
    es::glGenFramebuffers(1, &framebuffer);
    es::glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    es::glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    const bool readable = es::glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (readable) {
        rgba.resize(static_cast<std::size_t>(4 * width * height));
        es::glPixelStorei(GL_PACK_ALIGNMENT, 4);
        es::glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    }
    es::glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
    es::glDeleteFramebuffers(1, &framebuffer);
    return readable;
}

} // namespace

extern const TextureOps textureOps{.reserveTextureNames = gl::reserveTextureNames,
                                   .largestTextureSide = gl::largestTextureSide,
                                   .uploadTexture2D = uploadTexture2D,
                                   .uploadCubeFace = uploadCubeFace,
                                   .readTexture2D = readTexture2D};

} // namespace gles3
