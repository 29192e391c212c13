#include "render/ShaderState.h"

#include <vector>

namespace shader {

namespace {

bool gTexturing = true;
constexpr int kUnits = 4;
GLuint gBound2D[kUnits] = {};
// Indexed by texture name; names are small and made at start-up, so this grows only then.
std::vector<bool> gClampsToBlack;

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
    if (texture >= gClampsToBlack.size()) gClampsToBlack.resize(texture + 1, false);
    gClampsToBlack[texture] = wrap == Wrap::ClampToBlack;
}

bool clampsToBlack(GLuint texture) { return texture < gClampsToBlack.size() && gClampsToBlack[texture]; }

} // namespace shader
