#include "render/gles3/State.h"

#include <vector>

namespace gles3 {

namespace {

bool gTexturing = true;
constexpr int kUnits = 4;
GLuint gBound2D[kUnits] = {};
// What ES cannot be asked about a texture, indexed by its name; names are small and made at
// start-up, so this grows only then.
struct TextureInfo {
    Wrap wrap = Wrap::Repeat;
    int width = 0;
    int height = 0;
};
std::vector<TextureInfo> gTextures;

TextureInfo& infoOf(GLuint texture) {
    if (texture >= gTextures.size()) gTextures.resize(texture + 1);
    return gTextures[texture];
}

} // namespace

void setTexturing(bool on) { gTexturing = on; }

bool texturing() { return gTexturing; }

void bindTexture2D(GLuint texture, int unit) {
    if (unit != 0) es::glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    es::glBindTexture(GL_TEXTURE_2D, texture);
    if (unit != 0) es::glActiveTexture(GL_TEXTURE0);
    gBound2D[unit] = texture;
}

GLuint boundTexture2D(int unit) { return gBound2D[unit]; }

void bindCubeTexture(GLuint texture, int unit) {
    if (unit != 0) es::glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    es::glBindTexture(GL_TEXTURE_CUBE_MAP, texture);
    if (unit != 0) es::glActiveTexture(GL_TEXTURE0);
}

void setWrap(GLuint texture, Wrap wrap) {
    const GLint mode = wrap == Wrap::Repeat ? GL_REPEAT : GL_CLAMP_TO_EDGE;
    es::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, mode);
    es::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, mode);
    infoOf(texture).wrap = wrap;
}

bool clampsToBlack(GLuint texture) {
    return texture < gTextures.size() && gTextures[texture].wrap == Wrap::ClampToBlack;
}

Wrap wrapOf(GLuint texture) { return texture < gTextures.size() ? gTextures[texture].wrap : Wrap::Repeat; }

void noteTextureSize(GLuint texture, int width, int height) {
    TextureInfo& info = infoOf(texture);
    info.width = width;
    info.height = height;
}

void textureSizeOf(GLuint texture, int& width, int& height) {
    width = texture < gTextures.size() ? gTextures[texture].width : 0;
    height = texture < gTextures.size() ? gTextures[texture].height : 0;
}

SwitchesScope::SwitchesScope()
    : blend_(es::glIsEnabled(GL_BLEND)), depth_(es::glIsEnabled(GL_DEPTH_TEST)),
      stencil_(es::glIsEnabled(GL_STENCIL_TEST)), cull_(es::glIsEnabled(GL_CULL_FACE)), texturing_(texturing()) {}

SwitchesScope::~SwitchesScope() {
    const auto set = [](GLenum cap, bool on) { on ? es::glEnable(cap) : es::glDisable(cap); };
    set(GL_BLEND, blend_);
    set(GL_DEPTH_TEST, depth_);
    set(GL_STENCIL_TEST, stencil_);
    set(GL_CULL_FACE, cull_);
    setTexturing(texturing_);
}

} // namespace gles3
