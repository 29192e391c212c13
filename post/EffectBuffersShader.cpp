// The shader back end of EffectBuffers.h: the operations as the fixed-function renderer's fast
// path draws them (blur's taps and burn's doubled quad in one pass each, rounded to eight bits as
// the framebuffer rounds between the reference's passes; the shadow mask blurred at half size and
// composed in one quad), with the same raster state left behind. Beyond the fast path, passes
// that feed only the next pass render into textures instead of being copied back, and two
// low-frequency chains run smaller: the light shafts (burn, blur and streaks) at half width, and
// a widely blurred shadow mask at a quarter of the frame's size each way. The shafts stay at half
// width until their copy is read: the shadowed frame's composition reads them there, with the
// soft mask laid in their alpha, so one filtered read fetches both (a filtered read over the
// whole frame is the costliest thing llvmpipe does here).
#include "post/EffectBackends.h"

#include "glext/EsTable.h"
#include "post/EffectPasses.h"
#include "render/PassProfile.h"
#include "render/ShaderMatrices.h"
#include "render/ShaderProgram.h"
#include "render/ShaderQuads.h"
#include "render/ShaderState.h"
#include "render/StreamBuffer.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace shader {

namespace {

// --- Programs ------------------------------------------------------------------------------------

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

struct EffectProgram {
    GLuint id = 0;
    GLint matrix = -1, tap = -1, tint = -1, glowBorder = -1, glowSize = -1, origin = -1, burns = -1;
    GLint rect = -1, alpha = -1, rect2 = -1, alpha2 = -1;
};

enum ProgramKind {
    kBurn,
    kBlur,
    kBlurBordered,
    kBlurToAlpha,
    kBlurBorderedToAlpha,
    kCompose,
    kComposePacked,
    kShaftDownscale,
    kShaftBurn,
    kShaftStreak,
    kShaftStreakPair,
    kShaftLastStreakPair,
    kShaftUpscale,
    kProgramKinds
};
EffectProgram gPrograms[kProgramKinds];

std::string withBorderFade(const char* source) {
    std::string s = source;
    s.replace(s.find("BORDER_FADE"), 11, kBorderFadeGlsl);
    return s;
}

bool buildPrograms() {
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

// Makes the program current under the current matrices; false when the programs do not build.
const EffectProgram* useProgram(ProgramKind kind) {
    if (!buildPrograms()) return nullptr;
    const EffectProgram& p = gPrograms[kind];
    es::glUseProgram(p.id);
    const Mat4 matrix = projectionMatrix() * modelviewMatrix();
    es::glUniformMatrix4fv(p.matrix, 1, GL_FALSE, matrix.m);
    return &p;
}

// Makes the blur program for the texture current, with pass offset h, the blur's tint and the
// tap weight in eight bits as the blend applies the vertex alpha, and binds the texture; null
// when the programs do not build. toAlpha: the blurred grey goes to alpha alone.
const EffectProgram* useBlurPass(unsigned texture, const TapOffset& h, const BlurDesc& desc, bool toAlpha = false) {
    const bool border = clampsToBlack(texture);
    const EffectProgram* p =
        useProgram(toAlpha ? (border ? kBlurBorderedToAlpha : kBlurToAlpha) : (border ? kBlurBordered : kBlur));
    if (!p) return nullptr;
    es::glUniform2f(p->tap, h.u, h.v);
    es::glUniform4f(p->tint, desc.r, desc.g, desc.b, std::round(kBlurTapWeight * 255.0f) / 255.0f);
    bindTexture2D(texture);
    return p;
}

// --- Quads ---------------------------------------------------------------------------------------

// Every drawing operation draws in an identity modelview and hands the caller's back.
class Quads {
  public:
    Quads() { modelviewMatrix() = Mat4{}; }

  private:
    ModelviewScope kept_;
};

void drawArea(const QuadArea& a, float s0 = 0.0f, float t0 = 0.0f, float s1 = 1.0f, float t1 = 1.0f) {
    const QuadVertex v[4] = {{a.x0, a.y0, -1.0f, s0, t0},
                             {a.x1, a.y0, -1.0f, s1, t0},
                             {a.x1, a.y1, -1.0f, s1, t1},
                             {a.x0, a.y1, -1.0f, s0, t1}};
    drawQuads(v, 1);
    countQuadFrames(a.frames);
}

// A full-frame quad of one set with the quad programs.
void drawSetQuad(bool small, const EffectBuffers& e, Texturing texturing, const QuadColour& colour,
                 Reach reach, float s0 = 0.0f, float t0 = 0.0f, float s1 = 1.0f, float t1 = 1.0f) {
    const QuadArea a = setArea(small, e);
    drawRectangle(texturing, colour, a.x0, a.y0, a.x1, a.y1, -1.0f, s0, t0, s1, t1, reach);
    countQuadFrames(a.frames);
}

// The texture environment a fixed-function quad gets: none while 2D texturing is off.
Texturing textured(Texturing t) { return texturing() ? t : Texturing::None; }

// Copies the region of the sampled set into pass texture i for the next pass.
void grabPass(const EffectBuffers& e, int i, int sourceX) {
    if (e.sampleSmall) {
        bindTexture2D(e.smallPassTex[i]);
        es::glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, sourceX, e.smallSourceY, e.smallWidth, e.smallHeight);
    } else {
        bindTexture2D(e.passTex[i]);
        es::glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, sourceX, e.fullSourceY, e.fullWidth, e.fullHeight);
    }
}

void makeTexture(GLuint name, int width, int height, Wrap wrap, const unsigned char* pixels,
                 GLenum format = GL_RGB) {
    bindTexture2D(name);
    es::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    es::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    setWrap(name, wrap);
    es::glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format, GL_UNSIGNED_BYTE,
                     pixels);
    noteTextureSize(name, width, height);
}

// The shafts' textures hold RGBA: the composition may lay the shadow mask in their alpha. Their
// pictures are scratch, remade every frame.
void makeScratchTextures(EffectBuffers& e) {
    const std::vector<unsigned char> black(
        static_cast<std::size_t>(std::max(e.smallWidth * e.smallHeight, e.fullWidth * e.fullHeight)) * 3, 0);
    for (const GLuint t : e.streakTex)
        makeTexture(t, e.smallWidth / 2, e.smallHeight, Wrap::ClampToEdge, black.data(), GL_RGBA);
    for (const GLuint t : e.quarterMaskTex) makeTexture(t, e.fullWidth / 4, e.fullHeight / 4, Wrap::ClampToEdge, black.data());
}

} // namespace

void createTextures(EffectBuffers& e) {
    const int fullW = e.fullWidth, fullH = e.fullHeight, smallW = e.smallWidth, smallH = e.smallHeight;
    es::glGenTextures(kCopyCount, e.copyTex);
    es::glGenTextures(kCopyCount, e.passTex);
    es::glGenTextures(kCopyCount, e.smallCopyTex);
    es::glGenTextures(kCopyCount, e.smallPassTex);
    // Black to start with; RGB rows of these sizes are whole words, as the unpack alignment wants.
    const std::vector<unsigned char> black(
        static_cast<std::size_t>(std::max(fullW * fullH, smallW * smallH)) * 3, 0);
    for (int i = 0; i < kCopyCount; ++i) {
        const Wrap wrap = i == indexOf(Copy::Wrapping) ? Wrap::Repeat : Wrap::ClampToBlack;
        makeTexture(e.copyTex[i], fullW, fullH, wrap, black.data());
        makeTexture(e.passTex[i], fullW, fullH, wrap, black.data());
        makeTexture(e.smallCopyTex[i], smallW, smallH, Wrap::ClampToBlack, black.data());
        makeTexture(e.smallPassTex[i], smallW, smallH, Wrap::ClampToBlack, black.data());
    }
    es::glGenTextures(3, e.streakTex);
    es::glGenTextures(2, e.quarterMaskTex);
    makeScratchTextures(e);
    es::glGenFramebuffers(1, &e.passFramebuffer);
    es::glGenTextures(1, &e.halfMaskTex);
    es::glGenTextures(1, &e.halfPassTex);
    makeTexture(e.halfMaskTex, fullW / 2, fullH / 2, Wrap::ClampToEdge, black.data());
    makeTexture(e.halfPassTex, fullW / 2, fullH / 2, Wrap::ClampToBlack, black.data());
}

void resizeScratch(EffectBuffers& e) { makeScratchTextures(e); }

void grab(EffectBuffers& e, Copy copy) {
    const int i = indexOf(copy);
    if (e.targetSmall) {
        if (e.heldShafts == i) e.heldShafts = -1; // overwritten before anything read them
        bindTexture2D(e.smallCopyTex[i]);
        es::glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, e.smallSourceX, e.smallSourceY, e.smallWidth,
                                e.smallHeight);
    } else {
        bindTexture2D(e.copyTex[i]);
        es::glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, e.fullSourceX, e.fullSourceY, e.fullWidth,
                                e.fullHeight);
    }
}

void multiply(EffectBuffers& e, Copy copy) {
    const Quads quads;
    es::glDisable(GL_CULL_FACE);
    es::glDisable(GL_DEPTH_TEST);
    es::glBlendFunc(GL_ZERO, GL_SRC_COLOR);
    es::glEnable(GL_BLEND);
    bindTexture2D(e.copyTex[indexOf(copy)]);
    drawSetQuad(false, e, textured(Texturing::Add), {0.0f, 0.0f, 0.0f, 1.0f}, Reach::WithinTexels);
}

void show(EffectBuffers& e, Copy copy, float alpha) {
    settleShafts(e);
    const Quads quads;
    es::glClear(GL_COLOR_BUFFER_BIT);
    es::glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
    es::glDisable(GL_CULL_FACE);
    es::glEnable(GL_BLEND);
    bindTexture2D(sampledTexture(e, indexOf(copy), 0));
    drawSetQuad(e.sampleSmall != 0, e, textured(Texturing::Add), {0.0f, 0.0f, 0.0f, alpha},
                Reach::WithinTexels);
}

void fill(EffectBuffers& e, float alpha, float r, float g, float b) {
    const Quads quads;
    es::glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    es::glDisable(GL_CULL_FACE);
    es::glEnable(GL_BLEND);
    drawSetQuad(e.sampleSmall != 0, e, Texturing::None, {r, g, b, alpha}, Reach::WithinTexels);
    setTexturing(true);
}

void overlay(EffectBuffers& e, Copy copy, float alpha, float brightness, Overlay mode) {
    settleShafts(e);
    const Quads quads;
    es::glBlendFunc(GL_SRC_ALPHA, mode == Overlay::Add ? GL_DST_ALPHA : GL_ONE_MINUS_SRC_ALPHA);
    es::glDisable(GL_CULL_FACE);
    es::glEnable(GL_BLEND);
    bindTexture2D(sampledTexture(e, indexOf(copy), 0));
    const Reach reach = e.sampleSmall == e.targetSmall ? Reach::WithinTexels : Reach::PastEdges;
    drawSetQuad(e.targetSmall != 0, e, textured(Texturing::Add), {brightness, brightness, brightness, alpha},
                reach);
}

void burn(EffectBuffers& e, Copy copy, int passes, float gain) {
    settleShafts(e);
    const int i = indexOf(copy);
    const Quads quads;
    es::glBlendFunc(GL_ONE, GL_ONE);
    es::glDisable(GL_CULL_FACE);
    es::glDisable(GL_DEPTH_TEST);
    es::glEnable(GL_BLEND);
    for (int k = 0; k < passes; ++k) {
        // A copy laid texel for texel never reads past its edge.
        const EffectProgram* p = useProgram(kBurn);
        if (!p) break;
        const float g = std::clamp(gain, 0.0f, 1.0f); // a vertex colour, clamped as GL clamps it
        es::glUniform4f(p->tint, g, g, g, 1.0f);
        bindTexture2D(sampledTexture(e, i, k));
        drawArea(setArea(e.sampleSmall != 0, e));
        if (k < passes - 1) {
            grabPass(e, i, 0);
            es::glDisable(GL_BLEND); // later passes replace the frame rather than add to a cleared one
        }
    }
    es::glEnable(GL_BLEND);
}

void blur(EffectBuffers& e, Copy copy, const BlurDesc& desc) {
    settleShafts(e);
    const int i = indexOf(copy);
    const Quads quads;
    es::glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
    setTexturing(true);
    es::glDisable(GL_BLEND); // each pass replaces the frame, as its taps summed over a cleared one
    for (int k = 0; k < desc.passes; ++k) {
        if (!useBlurPass(sampledTexture(e, i, k), blurTapOffset(e, desc, k), desc)) break;
        drawArea(setArea(e.sampleSmall != 0, e));
        if (k < desc.passes - 1) grabPass(e, i, e.sampleSmall ? e.smallSourceX : e.fullSourceX);
    }
    es::glEnable(GL_BLEND);
}

namespace {

// Draws a quad over the whole of the render target with the program in use (identity matrices).
void drawTargetQuad(const EffectProgram& p) {
    const Mat4 identity{};
    es::glUniformMatrix4fv(p.matrix, 1, GL_FALSE, identity.m);
    drawArea({-1.0f, -1.0f, 1.0f, 1.0f, 0.0});
}

// Draws go to textures of the given size for the scope's extent; the frame's framebuffer and
// viewport come back at its end.
class TextureTarget {
  public:
    TextureTarget(int width, int height) {
        es::glGetIntegerv(GL_FRAMEBUFFER_BINDING, &frameBuffer_);
        es::glGetIntegerv(GL_VIEWPORT, viewport_);
        es::glViewport(0, 0, width, height);
    }
    ~TextureTarget() {
        es::glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(frameBuffer_));
        es::glViewport(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
    }
    TextureTarget(const TextureTarget&) = delete;
    TextureTarget& operator=(const TextureTarget&) = delete;

  private:
    GLint frameBuffer_ = 0;
    GLint viewport_[4] = {};
};

void renderInto(GLuint framebuffer, GLuint texture) {
    es::glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    es::glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
}

} // namespace

void zoomStreak(EffectBuffers& e, Copy copy, const ZoomStreakDesc& desc) {
    settleShafts(e);
    const int i = indexOf(copy);
    const Quads quads;
    setTexturing(true);
    es::glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    es::glEnable(GL_BLEND);
    // With no strength every pass after the first lays the frame unmoved over itself, which
    // changes nothing: only the first is drawn. Over its own grab the first changes nothing either.
    const int drawn = desc.strength == 0.0f ? std::min(desc.passes, 1) : desc.passes;
    const int first = desc.overItsGrab ? 1 : 0;
    for (int k = first; k < drawn; ++k) {
        bindTexture2D(sampledTexture(e, i, k == first ? 0 : k));
        const StreakPass pass = streakPass(desc, k);
        const Reach reach = k == 0 ? Reach::WithinTexels : Reach::PastEdges;
        drawSetQuad(e.sampleSmall != 0, e, Texturing::Add, {0.0f, 0.0f, 0.0f, pass.alpha}, reach, pass.s0,
                    pass.t0, pass.s1, pass.t1);
        if (k < drawn - 1) grabPass(e, i, e.sampleSmall ? e.smallSourceX : e.fullSourceX);
    }
}

// Whether shaftGlow runs at half the small width: on a small set as wide as the frame (and half
// as tall) the half-width texels are square. The shafts are smears of a glow: their frames stay
// within about 43 dB of the full-width chain's for a fraction of the pixel work; at half the
// height too they fell to 41 dB, the shafts' fine lines visibly softer.
bool shaftsAtHalfWidth(const EffectBuffers& e) {
    return e.passFramebuffer != 0 && e.sampleSmall && e.targetSmall && e.smallWidth >= e.fullWidth;
}

namespace {

// A streak pass's opacity as the blend applies the eight-bit alpha.
float eightBitAlpha(const StreakPass& pass) {
    return std::round(std::clamp(pass.alpha, 0.0f, 1.0f) * 255.0f) / 255.0f;
}

// The zoom streak's passes over the target, which holds the blurred picture (as `blurred` does):
// the passes blend the picture so far, zoomed, into the target, two at a time where they can
// (a pass costs more than the extra taps), and copy the result for the next to sample. An odd
// pass out goes first; the last pair adds the blurred picture.
void streakInto(EffectBuffers& e, const ZoomStreakDesc& desc, unsigned spare, unsigned blurred) {
    const double frames = 0.5 * setArea(true, e).frames;
    es::glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    es::glEnable(GL_BLEND);
    unsigned source = blurred;
    int k = 1;
    while (k < desc.passes) {
        const bool pair = (desc.passes - k) % 2 == 0;
        const bool last = k + (pair ? 2 : 1) >= desc.passes;
        const EffectProgram* p = useProgram(!pair ? kShaftStreak : last ? kShaftLastStreakPair : kShaftStreakPair);
        if (!p) return;
        const StreakPass first = streakPass(desc, k);
        es::glUniform4f(p->rect, first.s0, first.t0, first.s1, first.t1);
        es::glUniform1f(p->alpha, eightBitAlpha(first));
        if (pair) {
            const StreakPass second = streakPass(desc, k + 1);
            es::glUniform4f(p->rect2, second.s0, second.t0, second.s1, second.t1);
            es::glUniform1f(p->alpha2, eightBitAlpha(second));
        }
        bindTexture2D(source);
        if (last) bindTexture2D(blurred, 1);
        drawTargetQuad(*p);
        countQuadFrames(frames);
        k += pair ? 2 : 1;
        if (!last) {
            bindTexture2D(spare);
            es::glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, e.smallWidth / 2, e.smallHeight);
            source = spare;
        }
    }
}

} // namespace

bool shaftGlow(EffectBuffers& e, Copy copy, const ShaftGlowDesc& desc) {
    if (!shaftsAtHalfWidth(e) || desc.zoom.passes < 3 || !buildPrograms()) return false;
    const int i = indexOf(copy);
    if (e.heldShafts == i)
        e.heldShafts = -1; // about to be replaced
    else
        settleShafts(e); // the chain reuses the textures they are held in
    if (desc.pictureAtHalfWidth) {
        bindTexture2D(e.smallCopyTex[i]);
        es::glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, e.smallSourceX, e.smallSourceY, e.smallWidth / 2,
                                e.smallHeight);
    } else {
        shader::grab(e, copy);
    }
    const Quads quads;
    es::glDisable(GL_CULL_FACE);
    es::glDisable(GL_DEPTH_TEST);
    es::glDisable(GL_BLEND);
    setTexturing(true);
    const double frames = 0.5 * setArea(true, e).frames;
    {
        const TextureTarget target(e.smallWidth / 2, e.smallHeight);
        // The grab burnt and scaled down, then blurred by turns in two textures; the blurs'
        // taps clamp to black as the copy's do.
        const Wrap wrap = wrapOf(e.smallCopyTex[i]);
        const unsigned (&t)[3] = e.streakTex;
        std::optional<PassTimer> timer;
        timer.emplace("  shaft grab+downscale");
        renderInto(e.passFramebuffer, t[0]);
        const EffectProgram* p = useProgram(desc.pictureAtHalfWidth ? kShaftBurn : kShaftDownscale);
        es::glUniform1f(p->burns, static_cast<float>(desc.burnPasses));
        bindTexture2D(e.smallCopyTex[i]);
        drawTargetQuad(*p);
        countQuadFrames(frames);
        unsigned source = t[0];
        timer.emplace("  shaft blur");
        for (int k = 0; k < desc.blur.passes; ++k) {
            const unsigned next = source == t[0] ? t[1] : t[0];
            bindTexture2D(source);
            setWrap(source, wrap);
            renderInto(e.passFramebuffer, next);
            p = useBlurPass(source, blurTapOffset(e, desc.blur, k), desc.blur);
            drawTargetQuad(*p);
            countQuadFrames(frames);
            source = next;
        }
        // The streaks start from the blurred picture, kept whole for the last pass to add.
        timer.emplace("  shaft streak");
        bindTexture2D(t[2]);
        es::glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, e.smallWidth / 2, e.smallHeight);
        streakInto(e, desc.zoom, source == t[0] ? t[1] : t[0], t[2]);
        e.heldShafts = i;
        e.heldShaftsTexture = source;
    }
    // What the steps' last overlay leaves.
    bindTexture2D(e.smallCopyTex[i]);
    es::glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
    es::glEnable(GL_BLEND);
    return true;
}

void settleShafts(EffectBuffers& e) {
    if (e.heldShafts < 0) return;
    const int i = e.heldShafts;
    e.heldShafts = -1;
    const EffectProgram* p = useProgram(kShaftUpscale);
    if (!p) return;
    const GLboolean blend = es::glIsEnabled(GL_BLEND);
    const Quads quads;
    {
        const TextureTarget target(e.smallWidth, e.smallHeight);
        es::glDisable(GL_BLEND);
        renderInto(e.passFramebuffer, e.smallCopyTex[i]);
        const GLuint held = e.heldShaftsTexture;
        bindTexture2D(held);
        setWrap(held, Wrap::ClampToEdge); // stretched to the small size, it clamps to its edge texels
        drawTargetQuad(*p);
        countQuadFrames(setArea(true, e).frames);
    }
    if (blend) es::glEnable(GL_BLEND);
}

namespace {

// The soft mask's blur, its passes rendered by turns into two textures of a `divisor`-th of the
// frame's size each way (no copies back). Returns the texture holding the blurred mask. With
// `alphaOf`, the last pass writes the mask into that texture's alpha alone, at its size.
unsigned blurMask(EffectBuffers& e, const HalfMaskComposition& c, unsigned firstSource, int divisor,
                  const unsigned (&targets)[2], unsigned alphaOf = 0) {
    const BlurDesc& maskBlur = c.maskBlur;
    const Wrap wrap = wrapOf(e.copyTex[indexOf(c.mask)]);
    unsigned source = firstSource;
    {
        const TextureTarget target(e.fullWidth / divisor, e.fullHeight / divisor);
        for (int k = 0; k < maskBlur.passes; ++k) {
            const bool intoAlpha = alphaOf != 0 && k == maskBlur.passes - 1;
            const unsigned next = intoAlpha ? alphaOf : source == targets[0] ? targets[1] : targets[0];
            renderInto(e.passFramebuffer, next);
            const EffectProgram* p = useBlurPass(source, blurTapOffset(e, maskBlur, k), maskBlur, intoAlpha);
            if (!p) break;
            if (intoAlpha) {
                int width = 0, height = 0;
                textureSizeOf(next, width, height);
                es::glViewport(0, 0, width, height);
                es::glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
            }
            drawTargetQuad(*p);
            countQuadFrames(1.0 / (divisor * divisor));
            if (intoAlpha) {
                es::glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
                return next;
            }
            bindTexture2D(next);
            setWrap(next, wrap); // the next pass's taps wrap or clamp as the mask's copy does
            source = next;
        }
    }
    bindTexture2D(source);
    setWrap(source, Wrap::ClampToEdge); // stretched over the frame, it clamps to its edge texels
    return source;
}

// Whether the mask's blur reaches so far (a quarter-size texel or more each way in its last
// pass) that a quarter-size field stretched over the frame is as smooth as a half-size one: the
// cave's is, at a quarter of the taps; the closing's sharper shadows are not.
bool blursMaskAtQuarterSize(const EffectBuffers& e, const BlurDesc& maskBlur) {
    const TapOffset h = blurTapOffset(e, maskBlur, maskBlur.passes - 1);
    return 2.0f * h.u * static_cast<float>(e.fullWidth / 4) >= 1.0f &&
           2.0f * h.v * static_cast<float>(e.fullHeight / 4) >= 1.0f;
}

} // namespace

bool canComposeHalfMask(EffectBuffers&) { return buildPrograms(); }

void composeHalfMask(EffectBuffers& e, const HalfMaskComposition& c) {
    // Shafts held at half width for the glow carry a grey mask in their alpha: one filtered read
    // fetches both, and the shafts are never stretched to the small size.
    const BlurDesc& b = c.maskBlur;
    const bool packed = e.heldShafts == indexOf(c.glow) && b.passes > 0 && b.r == b.g && b.g == b.b;
    if (!packed) settleShafts(e);
    std::optional<PassTimer> timer;
    timer.emplace("  mask grab");
    if (!c.maskOnScreenAtHalfSize) shader::grab(e, c.mask);
    const Quads quads;
    es::glDisable(GL_BLEND);
    es::glDisable(GL_CULL_FACE);
    es::glDisable(GL_DEPTH_TEST);
    setTexturing(true);

    // A mask drawn at half size lies in the frame's lower-left quarter: its first pass reads it
    // from there.
    unsigned first = e.copyTex[indexOf(c.mask)];
    if (c.maskOnScreenAtHalfSize) {
        first = e.halfPassTex;
        bindTexture2D(first);
        setWrap(first, wrapOf(e.copyTex[indexOf(c.mask)]));
        es::glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, e.fullSourceX, e.fullSourceY, halfWidth(e),
                                halfHeight(e));
    }
    timer.emplace("  mask blur");
    const unsigned packedGlow = packed ? e.heldShaftsTexture : 0;
    const unsigned mask = blursMaskAtQuarterSize(e, c.maskBlur)
                              ? blurMask(e, c, first, 4, e.quarterMaskTex, packedGlow)
                              : blurMask(e, c, first, 2, {e.halfMaskTex, e.halfPassTex}, packedGlow);

    timer.emplace("  compose quad");
    const unsigned glow = packed ? packedGlow : e.smallCopyTex[indexOf(c.glow)];
    if (packed) {
        bindTexture2D(glow);
        setWrap(glow, Wrap::ClampToEdge); // the mask clamps to its edge; the glow's black border is drawn
    }
    const EffectProgram* p = useProgram(packed ? kComposePacked : kCompose);
    if (!p) return;
    es::glUniform1f(p->glowBorder, clampsToBlack(e.smallCopyTex[indexOf(c.glow)]) ? 1.0f : 0.0f);
    es::glUniform2f(p->glowSize, static_cast<float>(e.smallWidth), static_cast<float>(e.smallHeight));
    es::glUniform2i(p->origin, e.fullSourceX, e.fullSourceY);
    bindTexture2D(e.copyTex[indexOf(c.picture)]);
    bindTexture2D(mask, 1);
    bindTexture2D(glow, 2);
    drawArea(setArea(false, e));

    // What the reference's last overlay leaves.
    bindTexture2D(e.smallCopyTex[indexOf(c.glow)]);
    es::glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
    es::glEnable(GL_BLEND);
}

} // namespace shader
