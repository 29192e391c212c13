#include "render/gles3/MeshPrograms.h"

#include "render/gles3/Program.h"
#include "render/gles3/State.h"

#include <string>

namespace gles3 {

namespace {

constexpr const char* kVertex = R"(
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aTexCoord;
layout(location = 3) in vec4 aColour;
uniform mat4 uProjection;
uniform mat4 uModelview;
uniform mat3 uNormalMatrix;
uniform float uColourFactor;
uniform float uSecondFactor;
uniform float uAlpha;
uniform vec4 uLightPosition;
uniform vec3 uLightColour;
uniform vec3 uAttenuation;
uniform vec4 uAmbient;
uniform vec4 uSpecular;
uniform float uShininess;
uniform float uReflectionFactor;
out vec4 vColour;
out vec4 vColour2;
out vec3 vReflectionColour;
out vec2 vTexCoord;
out vec3 vReflection;

// GL's lighting of one vertex by light 0 with the colour as diffuse reflectance.
vec4 lit(vec3 eye, vec3 normal, vec4 diffuse) {
    vec3 toLight;
    float attenuation = 1.0;
    if (uLightPosition.w != 0.0) {
        vec3 d = uLightPosition.xyz - eye;
        float distance = length(d);
        toLight = d / distance;
        attenuation = 1.0 / (uAttenuation.x + uAttenuation.y * distance + uAttenuation.z * distance * distance);
    } else {
        toLight = normalize(uLightPosition.xyz);
    }
    float nl = dot(normal, toLight);
    float nh = max(dot(normal, normalize(toLight + vec3(0.0, 0.0, 1.0))), 0.0);
    float specular = nl > 0.0 ? (uShininess > 0.0 ? pow(nh, uShininess) : 1.0) : 0.0;
    vec3 c = 0.2 * uAmbient.rgb +
             attenuation * (uAmbient.rgb + max(nl, 0.0) * diffuse.rgb * uLightColour +
                            specular * uSpecular.rgb * uLightColour);
    return vec4(c, diffuse.a);
}

void main() {
    vec4 eye = uModelview * vec4(aPosition, 1.0);
    gl_Position = uProjection * eye;
    vec3 normal = uNormalMatrix * aNormal;
    float length2 = dot(normal, normal);
    if (length2 > 0.0) normal *= inversesqrt(length2);
    vec4 colour = vec4(aColour.rgb * uColourFactor, uAlpha);
#ifdef ONE_PASS
    // The reflection pass's colour: unlit, each vertex's own (a batch's meshes differ).
    vReflectionColour = clamp(aColour.rgb * uReflectionFactor, 0.0, 1.0);
#endif
#ifdef SECOND_COLOUR
    vec4 second = vec4(aColour.rgb * uSecondFactor, uAlpha);
#ifdef LIT
    second = lit(eye.xyz, normal, second);
#endif
    vColour2 = clamp(second, 0.0, 1.0);
#endif
#ifdef LIT
    colour = lit(eye.xyz, normal, colour);
#endif
    vColour = clamp(colour, 0.0, 1.0);
    // The reflected eye vector, only where a sphere map or cube map reads it (REFLECTION: the
    // fragment samples the cube map; left unwritten, the cube lookup would read garbage).
#if defined(SPHERE) || defined(REFLECTION)
    vec3 u = normalize(eye.xyz);
    vec3 r = u - 2.0 * normal * dot(normal, u);
    vReflection = r;
#endif
#ifdef SPHERE
    float m = 2.0 * sqrt(r.x * r.x + r.y * r.y + (r.z + 1.0) * (r.z + 1.0));
    vTexCoord = vec2(r.x / m + 0.5, r.y / m + 0.5);
#else
    vTexCoord = aTexCoord;
#endif
}
)";

constexpr const char* kFragment = R"(
uniform sampler2D uTexture;
uniform samplerCube uCube;
uniform vec2 uWeights;
in vec4 vColour;
in vec4 vColour2;
in vec3 vReflectionColour;
in vec2 vTexCoord;
in vec3 vReflection;
out vec4 fragColour;
BORDER_FADE
vec3 texel2D() {
    vec3 t = texture(uTexture, vTexCoord).rgb;
#ifdef BLACK_BORDER
    t *= borderFade(vTexCoord, vec2(textureSize(uTexture, 0)));
#endif
    return t;
}
vec3 eightBits(vec3 c) { return floor(c * 255.0 + 0.5); }
void main() {
#if defined(TEXTURE_ADD)
    vec3 rgb = min(vColour.rgb + texel2D(), 1.0);
#elif defined(TEXTURE_MODULATE)
    vec3 rgb = vColour.rgb * texel2D();
#elif defined(CUBE_MODULATE)
    vec3 rgb = vColour.rgb * texture(uCube, vReflection).rgb;
#elif defined(COLOUR_THEN_MODULATE)
    vec3 sum = eightBits(vColour.rgb) + floor(eightBits(texel2D() * vColour2.rgb) * uWeights.y + 0.5);
    vec3 rgb = min(sum / 255.0, 1.0);
#elif defined(ONE_PASS)
    vec3 texel = texel2D();
    vec3 cube = eightBits(clamp(texture(uCube, vReflection).rgb * vReflectionColour, 0.0, 1.0));
    cube = floor(cube * uWeights.x + 0.5);
#ifdef BASE_ADD
    vec3 sum = eightBits(min(texel + vColour.rgb, 1.0)) + cube;
#else
    vec3 sum = eightBits(texel * vColour.rgb) + cube;
#endif
#ifdef LAYERED
    sum += floor(eightBits(texel * vColour.rgb) * uWeights.y + 0.5);
#endif
    vec3 rgb = min(sum / 255.0, 1.0);
#else
    vec3 rgb = vColour.rgb;
#endif
    fragColour = vec4(rgb, vColour.a);
}
)";

struct MeshProgram {
    GLuint id = 0;
    bool failed = false;
    GLint projection = -1, modelview = -1, normalMatrix = -1, colourFactor = -1, secondFactor = -1, alpha = -1;
    GLint lightPosition = -1, lightColour = -1, attenuation = -1, ambient = -1, specular = -1, shininess = -1;
    GLint reflectionFactor = -1, weights = -1;
};

constexpr int kFragments = 9;
MeshProgram gPrograms[kFragments][2][2][2]; // [fragment][lit][sphere][black border]

const char* fragmentDefines(MeshFragment f) {
    switch (f) {
    case MeshFragment::Colour:
        return "";
    case MeshFragment::TextureAdd:
        return "#define TEXTURE_ADD\n";
    case MeshFragment::TextureModulate:
        return "#define TEXTURE_MODULATE\n";
    case MeshFragment::CubeModulate:
        return "#define CUBE_MODULATE\n#define REFLECTION\n";
    case MeshFragment::OnePassAdd:
        return "#define ONE_PASS\n#define BASE_ADD\n#define REFLECTION\n";
    case MeshFragment::OnePassModulate:
        return "#define ONE_PASS\n#define REFLECTION\n";
    case MeshFragment::OnePassAddLayered:
        return "#define ONE_PASS\n#define BASE_ADD\n#define LAYERED\n#define REFLECTION\n";
    case MeshFragment::OnePassModulateLayered:
        return "#define ONE_PASS\n#define LAYERED\n#define REFLECTION\n";
    case MeshFragment::ColourThenModulate:
        return "#define COLOUR_THEN_MODULATE\n#define SECOND_COLOUR\n";
    }
    return "";
}

bool build(MeshProgram& p, const MeshProgramKey& key) {
    static const std::string fragment = [] {
        std::string s = kFragment;
        s.replace(s.find("BORDER_FADE"), 11, kBorderFadeGlsl);
        return s;
    }();
    std::string defines = fragmentDefines(key.fragment);
    if (key.lit) defines += "#define LIT\n";
    if (key.sphere) defines += "#define SPHERE\n";
    if (key.blackBorder) defines += "#define BLACK_BORDER\n";
    p.id = buildProgram({"mesh", kVertex, fragment.c_str()}, defines.c_str());
    if (!p.id) {
        p.failed = true;
        return false;
    }
    setSamplerUnit(p.id, "uTexture", 0);
    setSamplerUnit(p.id, "uCube", 1);
    const auto at = [&p](const char* name) { return es::glGetUniformLocation(p.id, name); };
    p.projection = at("uProjection");
    p.modelview = at("uModelview");
    p.normalMatrix = at("uNormalMatrix");
    p.colourFactor = at("uColourFactor");
    p.secondFactor = at("uSecondFactor");
    p.alpha = at("uAlpha");
    p.lightPosition = at("uLightPosition");
    p.lightColour = at("uLightColour");
    p.attenuation = at("uAttenuation");
    p.ambient = at("uAmbient");
    p.specular = at("uSpecular");
    p.shininess = at("uShininess");
    p.reflectionFactor = at("uReflectionFactor");
    p.weights = at("uWeights");
    return true;
}

} // namespace

bool useMeshProgram(const MeshProgramKey& key, const MeshLook& look, const MeshPassColour& colour) {
    MeshProgram& p =
        gPrograms[static_cast<int>(key.fragment)][key.lit ? 1 : 0][key.sphere ? 1 : 0][key.blackBorder ? 1 : 0];
    if (p.failed) return false;
    if (!p.id && !build(p, key)) return false;
    es::glUseProgram(p.id);
    float normalMatrix[9];
    normalMatrixOf(look.modelview, normalMatrix);
    es::glUniformMatrix4fv(p.projection, 1, GL_FALSE, look.projection.m);
    es::glUniformMatrix4fv(p.modelview, 1, GL_FALSE, look.modelview.m);
    es::glUniformMatrix3fv(p.normalMatrix, 1, GL_FALSE, normalMatrix);
    es::glUniform1f(p.colourFactor, colour.factor);
    es::glUniform1f(p.secondFactor, colour.secondFactor);
    es::glUniform1f(p.alpha, colour.alpha);
    if (key.lit) {
        const Vec4& l = look.lightPosition;
        es::glUniform4f(p.lightPosition, l.x, l.y, l.z, l.w);
        es::glUniform3f(p.lightColour, look.lightColour.x, look.lightColour.y, look.lightColour.z);
        es::glUniform3f(p.attenuation, look.attenuation.x, look.attenuation.y, look.attenuation.z);
        es::glUniform4f(p.ambient, look.ambient.x, look.ambient.y, look.ambient.z, look.ambient.w);
        es::glUniform4f(p.specular, look.specular.x, look.specular.y, look.specular.z, look.specular.w);
        es::glUniform1f(p.shininess, look.shininess);
    }
    es::glUniform1f(p.reflectionFactor, colour.reflectionFactor);
    es::glUniform2f(p.weights, colour.reflectionWeight, colour.layerWeight);
    return true;
}

} // namespace gles3
