#include "post/gles3/EffectPrograms.h"

#include "render/gles3/Matrices.h"
#include "render/gles3/Program.h"
#include "render/gles3/State.h"

#include <cmath>
#include <string>

namespace gles3 {

namespace {

constexpr const char* kQuadVertex = R"(
layout(location = 0) in vec3 aPosition;
layout(location = 2) in vec2 aTexCoord;
uniform mat4 uMatrix;
uniform vec2 uTap; // half of blur's tap offset
out vec2 vTexCoord;
out vec2 vTap0;
out vec2 vTap1;
out vec2 vTap2;
out vec2 vTap3;
void main() {
    vTexCoord = aTexCoord;
    vTap0 = aTexCoord + vec2(-uTap.x, -uTap.y);
    vTap1 = aTexCoord + vec2(uTap.x, -uTap.y);
    vTap2 = aTexCoord + vec2(-uTap.x, uTap.y);
    vTap3 = aTexCoord + vec2(uTap.x, uTap.y);
    gl_Position = uMatrix * vec4(aPosition, 1.0);
}
)";

// Blur's four taps in one pass, replacing the frame as the taps summed over a cleared frame do:
// each tinted texel rounded to eight bits, weighted by the blend's eight-bit alpha, rounded again
// and added, as the framebuffer rounds them one by one. Burn's two additive quads as one: the
// tinted texel rounded to eight bits, doubled.
constexpr const char* kEffectFragment = R"(
uniform sampler2D uTexture;
uniform vec4 uTint; // colour; w: the tap weight as the eight-bit alpha applies it
in vec2 vTexCoord;
in vec2 vTap0;
in vec2 vTap1;
in vec2 vTap2;
in vec2 vTap3;
out vec4 fragColour;
BORDER_FADE
vec3 tap(vec2 uv) {
    vec3 t = texture(uTexture, uv).rgb;
#ifdef BLACK_BORDER
    t *= borderFade(uv, vec2(textureSize(uTexture, 0)));
#endif
    return floor(clamp(t * uTint.rgb, 0.0, 1.0) * 255.0 + 0.5);
}
void main() {
#ifdef BLUR
    vec3 sum = floor(tap(vTap0) * uTint.w + 0.5) + floor(tap(vTap1) * uTint.w + 0.5) +
               floor(tap(vTap2) * uTint.w + 0.5) + floor(tap(vTap3) * uTint.w + 0.5);
#ifdef GREY_TO_ALPHA
    fragColour = vec4(0.0, 0.0, 0.0, min(sum.r / 255.0, 1.0)); // a grey picture, into alpha alone
#else
    fragColour = vec4(min(sum / 255.0, 1.0), 1.0);
#endif
#else
    fragColour = vec4(min(tap(vTexCoord) * (2.0 / 255.0), 1.0), 1.0);
#endif
}
)";

// The shadowed frame: the picture times the mask as the multiply blend rounds it, plus the glow
// rounded as it is fetched, the sum clamped. All three span the frame: one coordinate serves the
// stretched ones; the picture lies texel for texel under the frame from `uOrigin` on, and one
// texel read costs less than a filtered one. MASK_IN_GLOW_ALPHA: a grey mask rides in the glow's
// alpha, so one filtered read fetches both.
constexpr const char* kComposeFragment = R"(
uniform sampler2D uPicture;
uniform sampler2D uMask;
uniform sampler2D uGlow;
uniform float uGlowBorder;
uniform vec2 uGlowSize; // the glow copy's, whose black border the glow fades to
uniform ivec2 uOrigin;
in vec2 vTexCoord;
out vec4 fragColour;
BORDER_FADE
void main() {
    vec3 picture = texelFetch(uPicture, ivec2(gl_FragCoord.xy) - uOrigin, 0).rgb;
#ifdef MASK_IN_GLOW_ALPHA
    vec4 glowAndMask = texture(uGlow, vTexCoord);
    vec3 mask = vec3(floor(glowAndMask.a * 255.0 + 0.5));
    vec3 glow = glowAndMask.rgb;
#else
    vec3 mask = floor(texture(uMask, vTexCoord).rgb * 255.0 + 0.5);
    vec3 glow = texture(uGlow, vTexCoord).rgb;
#endif
    glow *= mix(1.0, borderFade(vTexCoord, uGlowSize), uGlowBorder);
    vec3 sum = floor(picture * mask + 0.5) + floor(glow * 255.0 + 0.5);
    fragColour = vec4(min(sum / 255.0, 1.0), 1.0);
}
)";

// The shafts' chain at half width (see shaftGlow). DOWNSCALE_BURN: two texels of the grab side
// by side, each burnt as burn's passes burn it over the frame that holds it (the first pass adds
// two copies, each later one doubles), averaged. STREAK: a zoom streak pass over the target,
// which holds the result so far: the zoomed picture, filtered and black past the edge, weighted
// by the pass's eight-bit alpha for the blend (one, one minus source alpha) to mix it in.
// STREAK_PAIR: two passes in one, the second's zoom of the first's result written out as the
// first's terms at the second's zoomed place; the last pair also adds the blurred picture, as
// the overlay after the streaks adds it. Otherwise the result stretched to the small size.
constexpr const char* kShaftFragment = R"(
uniform sampler2D uTexture;
uniform sampler2D uBlurred;
uniform float uBurns;
uniform vec4 uRect;  // the zoomed picture's texture rectangle
uniform vec4 uRect2; // the second pass's
uniform float uAlpha;
uniform float uAlpha2;
in vec2 vTexCoord;
out vec4 fragColour;
BORDER_FADE
vec3 zoomed(vec2 uv) {
    return texture(uTexture, uv).rgb * borderFade(uv, vec2(textureSize(uTexture, 0)));
}
vec3 burnt(ivec2 p) {
    vec3 t = texelFetch(uTexture, p, 0).rgb;
    if (uBurns < 1.0) return t;
    vec3 b = min(3.0 * t, 1.0);
    for (float k = 1.0; k < uBurns; k += 1.0) b = min(2.0 * b, 1.0);
    return b;
}
void main() {
#if defined(DOWNSCALE_BURN)
    ivec2 p = ivec2(gl_FragCoord.xy) * ivec2(2, 1);
    fragColour = vec4(0.5 * (burnt(p) + burnt(p + ivec2(1, 0))), 1.0);
#elif defined(BURN)
    fragColour = vec4(burnt(ivec2(gl_FragCoord.xy)), 1.0);
#elif defined(STREAK)
    fragColour = vec4(uAlpha * zoomed(mix(uRect.xy, uRect.zw, vTexCoord)), uAlpha);
#elif defined(STREAK_PAIR)
    vec2 second = mix(uRect2.xy, uRect2.zw, vTexCoord);
    vec3 firstThere = (1.0 - uAlpha) * texture(uTexture, second).rgb + uAlpha * zoomed(mix(uRect.xy, uRect.zw, second));
    firstThere *= borderFade(second, vec2(textureSize(uTexture, 0)));
    vec3 c = (1.0 - uAlpha2) * uAlpha * zoomed(mix(uRect.xy, uRect.zw, vTexCoord)) + uAlpha2 * firstThere;
#ifdef ADD_BLURRED
    c += texelFetch(uBlurred, ivec2(gl_FragCoord.xy), 0).rgb;
#endif
    fragColour = vec4(c, 1.0 - (1.0 - uAlpha) * (1.0 - uAlpha2));
#else
    fragColour = vec4(texture(uTexture, vTexCoord).rgb, 1.0);
#endif
}
)";

EffectProgram gPrograms[kProgramKinds];

std::string withBorderFade(const char* source) {
    std::string s = source;
    s.replace(s.find("BORDER_FADE"), 11, kBorderFadeGlsl);
    return s;
}

} // namespace

bool buildEffectPrograms() {
    if (gPrograms[kBurn].id) return true;
    static const std::string effect = withBorderFade(kEffectFragment);
    static const std::string compose = withBorderFade(kComposeFragment);
    static const std::string shaft = withBorderFade(kShaftFragment);
    const struct {
        const char* name;
        const char* fragment;
        const char* defines;
    } kinds[kProgramKinds] = {
        {"burn", effect.c_str(), ""},
        {"blur", effect.c_str(), "#define BLUR\n"},
        {"blur", effect.c_str(), "#define BLUR\n#define BLACK_BORDER\n"},
        {"blur to alpha", effect.c_str(), "#define BLUR\n#define GREY_TO_ALPHA\n"},
        {"blur to alpha", effect.c_str(), "#define BLUR\n#define BLACK_BORDER\n#define GREY_TO_ALPHA\n"},
        {"shadowed frame", compose.c_str(), ""},
        {"shadowed frame", compose.c_str(), "#define MASK_IN_GLOW_ALPHA\n"},
        {"shaft downscale", shaft.c_str(), "#define DOWNSCALE_BURN\n"},
        {"shaft burn", shaft.c_str(), "#define BURN\n"},
        {"shaft streak", shaft.c_str(), "#define STREAK\n"},
        {"shaft streak pair", shaft.c_str(), "#define STREAK_PAIR\n"},
        {"shaft last streak pair", shaft.c_str(), "#define STREAK_PAIR\n#define ADD_BLURRED\n"},
        {"shaft upscale", shaft.c_str(), ""},
    };
    for (int i = 0; i < kProgramKinds; ++i) {
        EffectProgram& p = gPrograms[i];
        p.id = buildProgram({kinds[i].name, kQuadVertex, kinds[i].fragment}, kinds[i].defines);
        if (!p.id) return false;
        p.matrix = es::glGetUniformLocation(p.id, "uMatrix");
        p.tap = es::glGetUniformLocation(p.id, "uTap");
        p.tint = es::glGetUniformLocation(p.id, "uTint");
        p.glowBorder = es::glGetUniformLocation(p.id, "uGlowBorder");
        p.glowSize = es::glGetUniformLocation(p.id, "uGlowSize");
        p.origin = es::glGetUniformLocation(p.id, "uOrigin");
        p.rect = es::glGetUniformLocation(p.id, "uRect");
        p.alpha = es::glGetUniformLocation(p.id, "uAlpha");
        p.rect2 = es::glGetUniformLocation(p.id, "uRect2");
        p.alpha2 = es::glGetUniformLocation(p.id, "uAlpha2");
        p.burns = es::glGetUniformLocation(p.id, "uBurns");
        setSamplerUnit(p.id, "uTexture", 0);
    }
    setSamplerUnit(gPrograms[kShaftLastStreakPair].id, "uBlurred", 1);
    for (const int kind : {kCompose, kComposePacked}) {
        setSamplerUnit(gPrograms[kind].id, "uPicture", 0);
        setSamplerUnit(gPrograms[kind].id, "uMask", 1);
        setSamplerUnit(gPrograms[kind].id, "uGlow", 2);
    }
    return true;
}

const EffectProgram* useProgram(ProgramKind kind) {
    if (!buildEffectPrograms()) return nullptr;
    const EffectProgram& p = gPrograms[kind];
    es::glUseProgram(p.id);
    const Mat4 matrix = projectionMatrix() * modelviewMatrix();
    es::glUniformMatrix4fv(p.matrix, 1, GL_FALSE, matrix.m);
    return &p;
}

const EffectProgram* useBlurPass(unsigned texture, const TapOffset& h, const BlurDesc& desc, bool toAlpha) {
    const bool border = clampsToBlack(texture);
    const EffectProgram* p =
        useProgram(toAlpha ? (border ? kBlurBorderedToAlpha : kBlurToAlpha) : (border ? kBlurBordered : kBlur));
    if (!p) return nullptr;
    es::glUniform2f(p->tap, h.u, h.v);
    es::glUniform4f(p->tint, desc.r, desc.g, desc.b, std::round(kBlurTapWeight * 255.0f) / 255.0f);
    bindTexture2D(texture);
    return p;
}

} // namespace gles3
