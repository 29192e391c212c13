#include "render/gles3/Quads.h"

#include "render/gles3/Matrices.h"
#include "render/gles3/Program.h"
#include "render/gles3/State.h"

#include <algorithm>
#include <string>

namespace gles3 {

namespace {

constexpr const char* kVertex = R"(
layout(location = 0) in vec3 aPosition;
layout(location = 2) in vec2 aTexCoord;
uniform mat4 uMatrix;
out vec2 vTexCoord;
void main() {
    vTexCoord = aTexCoord;
    gl_Position = uMatrix * vec4(aPosition, 1.0);
}
)";

constexpr const char* kFragment = R"(
uniform sampler2D uTexture;
uniform vec4 uColour;
in vec2 vTexCoord;
out vec4 fragColour;
BORDER_FADE
void main() {
#ifdef TEXTURED
    vec3 texel = texture(uTexture, vTexCoord).rgb;
#endif
#ifdef BLACK_BORDER
    texel *= borderFade(vTexCoord, vec2(textureSize(uTexture, 0)));
#endif
#if defined(ADD)
    vec3 rgb = min(uColour.rgb + texel, 1.0);
#elif defined(MODULATE)
    vec3 rgb = uColour.rgb * texel;
#elif defined(REPLACE)
    vec3 rgb = texel;
#else
    vec3 rgb = uColour.rgb;
#endif
    fragColour = vec4(rgb, uColour.a);
}
)";

struct QuadProgram {
    GLuint id = 0;
    GLint matrix = -1;
    GLint colour = -1;
};

QuadProgram gPrograms[4][2]; // [texturing][black border]

std::string withBorderFade(const char* source) {
    std::string s = source;
    s.replace(s.find("BORDER_FADE"), 11, kBorderFadeGlsl);
    return s;
}

float clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }

} // namespace

bool initQuadPrograms() {
    static const std::string fragment = withBorderFade(kFragment);
    const char* defines[4] = {"", "#define TEXTURED\n#define ADD\n", "#define TEXTURED\n#define MODULATE\n",
                              "#define TEXTURED\n#define REPLACE\n"};
    for (int i = 0; i < 4; ++i)
        for (int border = 0; border < 2; ++border) {
            if (i == 0 && border == 1) continue; // nothing sampled
            QuadProgram& p = gPrograms[i][border];
            const std::string lines = std::string(defines[i]) + (border ? "#define BLACK_BORDER\n" : "");
            p.id = buildProgram({"quad", kVertex, fragment.c_str()}, lines.c_str());
            if (!p.id) return false;
            setSamplerUnit(p.id, "uTexture", 0);
            p.matrix = es::glGetUniformLocation(p.id, "uMatrix");
            p.colour = es::glGetUniformLocation(p.id, "uColour");
        }
    return true;
}

void drawQuadsWith(Texturing texturing, const QuadColour& c, const QuadVertex* vertices, int quads,
                   Reach reach) {
    const bool border =
        texturing != Texturing::None && reach == Reach::PastEdges && clampsToBlack(boundTexture2D());
    const QuadProgram& p = gPrograms[static_cast<int>(texturing)][border ? 1 : 0];
    es::glUseProgram(p.id);
    const Mat4 matrix = projectionMatrix() * modelviewMatrix();
    es::glUniformMatrix4fv(p.matrix, 1, GL_FALSE, matrix.m);
    es::glUniform4f(p.colour, clamp01(c.r), clamp01(c.g), clamp01(c.b), clamp01(c.a));
    drawQuads(vertices, quads);
}

void drawRectangle(Texturing texturing, const QuadColour& colour, float x0, float y0, float x1, float y1,
                   float z, float s0, float t0, float s1, float t1, Reach reach) {
    const QuadVertex v[4] = {
        {x0, y0, z, s0, t0}, {x1, y0, z, s1, t0}, {x1, y1, z, s1, t1}, {x0, y1, z, s0, t1}};
    drawQuadsWith(texturing, colour, v, 1, reach);
}

} // namespace gles3
