// The post stack's passes as fixed-function quads over the frame, and on the fast path blur's
// taps, burn's doubled quad and the shadowed frame's composition in ARB fragment programs.
#include "post/EffectBackend.h"

#include "post/EffectPasses.h"

#include "glext/GlExt.h"
#include "math/Angles.h"
#include "render/fixed/FragmentProgram.h"
#include "render/FrameSize.h"
#include "render/RenderPath.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

namespace fixed {

namespace {

void countQuad(bool small, const EffectTextures& e) { countQuadFrames(setArea(small, e).frames); }

void makeTexture(unsigned name, int width, int height, GLint wrap, const unsigned char* pixels) {
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
}

// Copies the region of the sampled set into pass texture i for the next pass.
void grabPass(const EffectTextures& e, int i, int sourceX) {
    if (e.sampleSmall) {
        glBindTexture(GL_TEXTURE_2D, e.smallPassTex[i]);
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, sourceX, e.smallSourceY, e.smallWidth, e.smallHeight);
    } else {
        glBindTexture(GL_TEXTURE_2D, e.passTex[i]);
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, sourceX, e.fullSourceY, e.fullWidth, e.fullHeight);
    }
}

// Binds an effect texture for a quad that shows it texel for texel: each pixel's centre lands on
// a texel's centre, where the filtered sample is that texel. The fast path reads such a texture
// unfiltered, which spares the rasteriser the four-texel filter on every pixel, and hands it back
// filtered when the quad is drawn: scenes map the copies on meshes, stretched.
class TexelForTexel {
  public:
    TexelForTexel(unsigned texture, bool alignedWithQuad)
        : texture_(alignedWithQuad && fastRendering() ? texture : 0) {
        glBindTexture(GL_TEXTURE_2D, texture);
        if (texture_ != 0) setFilter(GL_NEAREST);
    }
    ~TexelForTexel() {
        if (texture_ == 0) return;
        glBindTexture(GL_TEXTURE_2D, texture_);
        setFilter(GL_LINEAR);
    }
    TexelForTexel(const TexelForTexel&) = delete;
    TexelForTexel& operator=(const TexelForTexel&) = delete;

  private:
    static void setFilter(GLint filter) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    }
    unsigned texture_;
};

// Full-frame quad of one set at the far plane (z = -1), texture corners (s0, t0) to (s1, t1).
void drawQuad(bool small, const EffectTextures& e, float s0, float t0, float s1, float t1) {
    const float hw = static_cast<float>(small ? e.smallHalfWidth : e.fullHalfWidth);
    const float hh = static_cast<float>(small ? e.smallHalfHeight : e.fullHalfHeight);
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0), glVertex3f(-hw, -hh, -1.0f);
    glTexCoord2f(s1, t0), glVertex3f(hw, -hh, -1.0f);
    glTexCoord2f(s1, t1), glVertex3f(hw, hh, -1.0f);
    glTexCoord2f(s0, t1), glVertex3f(-hw, hh, -1.0f);
    glEnd();
    countQuad(small, e);
}

// A quad over the area with blur's four tap offsets as texture coordinate sets 0 to 3.
void drawTapQuad(const QuadArea& a, float hu, float hv) {
    const float corners[4][4] = {
        {a.x0, a.y0, 0, 0}, {a.x1, a.y0, 1, 0}, {a.x1, a.y1, 1, 1}, {a.x0, a.y1, 0, 1}};
    const float taps[4][2] = {{-hu, -hv}, {hu, -hv}, {-hu, hv}, {hu, hv}};
    glBegin(GL_QUADS);
    for (const auto& c : corners) {
        for (int n = 0; n < 4; ++n)
            glext::glMultiTexCoord2f(GL_TEXTURE0 + n, c[2] + taps[n][0], c[3] + taps[n][1]);
        glVertex3f(c[0], c[1], -1.0f);
    }
    glEnd();
    countQuadFrames(a.frames);
}

void drawQuad(bool small, const EffectTextures& e) { drawQuad(small, e, 0.0f, 0.0f, 1.0f, 1.0f); }

// Every drawing operation draws in an identity modelview and hands the caller's back; it picks
// the modelview itself so a caller that left the projection current keeps its projection.
void beginQuads() {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void endQuads() { glPopMatrix(); }

void setTexEnv(GLint mode) { glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, mode); }

// Fast path: blur's four taps in one quad, replacing the frame as the reference's taps summed
// over a cleared frame do. The reference's taps pass through the 8-bit framebuffer one by one:
// each tinted texel is rounded to eight bits, weighted by the blend's eight-bit alpha, rounded
// again and added. The program rounds the same way, so that the error does not build up over a
// blur's passes into a visibly different glow.
// The taps come as texture coordinate sets 0 to 3 rather than offsets added in the program: the
// rasteriser samples interpolated coordinates much faster than computed ones (measured: the
// pass costs half as much).
//   local 4: the tint in x, y, z; the tap weight as the eight-bit alpha applies it in w
// clang-format off
#define CASTRELLE_BLUR_TAP(n)                                                                      \
    "TEX texel, fragment.texcoord[" #n "], texture[0], 2D;\n"                                     \
    "MUL_SAT texel, texel, tint;\n"                                                               \
    "MAD texel, texel, eight.x, eight.y;\n" /* to eight bits, rounded */                          \
    "FLR texel, texel;\n"                                                                         \
    "MAD texel, texel, tint.w, eight.y;\n" /* weighted as the blend weights it */                 \
    "FLR texel, texel;\n"                                                                         \
    "ADD sum, sum, texel;\n"
FragmentProgram gBlurTaps{"!!ARBfp1.0\n"
                          "PARAM tint = program.local[4];\n"
                          "PARAM eight = {255, 0.5, 0.0039215686, 0};\n"
                          "TEMP texel, sum;\n"
                          "MOV sum, eight.w;\n"
                          CASTRELLE_BLUR_TAP(0) CASTRELLE_BLUR_TAP(1) CASTRELLE_BLUR_TAP(2) CASTRELLE_BLUR_TAP(3)
                          "MUL_SAT result.color, sum, eight.z;\n"
                          "END\n"};
// clang-format on
#undef CASTRELLE_BLUR_TAP

// Fast path: burn's two additive quads of a pass as one, the tinted texture doubled. Rounded to
// eight bits before doubling, as each of the reference's quads is, since later passes double
// any difference again.
FragmentProgram gBurnTwice{"!!ARBfp1.0\n"
                           "PARAM eight = {255, 0.5, 0.0078431373, 0};\n" // 2 / 255 in z
                           "TEMP texel;\n"
                           "TEX texel, fragment.texcoord[0], texture[0], 2D;\n"
                           "MUL_SAT texel, texel, fragment.color;\n"
                           "MAD texel, texel, eight.x, eight.y;\n"
                           "FLR texel, texel;\n"
                           "MUL_SAT result.color, texel, eight.z;\n"
                           "END\n"};

// Fast path: the picture times the mask plus the glow, as the reference's three quads leave it:
// the product rounded to eight bits as the multiply blend rounds it, the glow rounded as it is
// fetched and the sum clamped. All three textures span the frame, so one coordinate set serves.
FragmentProgram gMaskedCompose{"!!ARBfp1.0\n"
                               "PARAM eight = {255, 0.5, 0.0039215686, 1};\n"
                               "TEMP picture, mask, glow;\n"
                               "TEX picture, fragment.texcoord[0], texture[0], 2D;\n"
                               "TEX mask, fragment.texcoord[0], texture[1], 2D;\n"
                               "TEX glow, fragment.texcoord[0], texture[2], 2D;\n"
                               "MAD mask, mask, eight.x, eight.y;\n" // the mask as the frame held it
                               "FLR mask, mask;\n"
                               "MAD picture, picture, mask, eight.y;\n"
                               "FLR picture, picture;\n"
                               "MAD glow, glow, eight.x, eight.y;\n"
                               "FLR glow, glow;\n"
                               "ADD picture, picture, glow;\n"
                               "MUL_SAT result.color.xyz, picture, eight.z;\n"
                               "MOV result.color.w, eight.w;\n"
                               "END\n"};

void createTextures(EffectTextures& e) {
    const int fullW = e.fullWidth, fullH = e.fullHeight, smallW = e.smallWidth, smallH = e.smallHeight;
    unsigned* copyTex = e.copyTex;
    unsigned* passTex = e.passTex;
    unsigned* smallCopyTex = e.smallCopyTex;
    unsigned* smallPassTex = e.smallPassTex;
    glGenTextures(4, copyTex);
    glGenTextures(4, passTex);
    glGenTextures(4, smallCopyTex);
    glGenTextures(4, smallPassTex);

    // Zeroed so the textures start black rather than holding stale memory; sized for the larger
    // of the two sets, four bytes a pixel so any row alignment fits.
    const size_t pixels = static_cast<size_t>(std::max(fullW * fullH, smallW * smallH));
    const std::vector<unsigned char> scratch(pixels * 4, 0);

    for (int i = 0; i < kCopyCount; ++i) {
        const GLint wrap = i == indexOf(Copy::Wrapping) ? GL_REPEAT : GL_CLAMP;
        makeTexture(copyTex[i], fullW, fullH, wrap, scratch.data());
        makeTexture(passTex[i], fullW, fullH, wrap, scratch.data());
        makeTexture(smallCopyTex[i], smallW, smallH, GL_CLAMP, scratch.data());
        makeTexture(smallPassTex[i], smallW, smallH, GL_CLAMP, scratch.data());
    }
    glGenTextures(1, &e.halfMaskTex);
    glGenTextures(1, &e.halfPassTex);
    makeTexture(e.halfMaskTex, fullW / 2, fullH / 2, GL_CLAMP_TO_EDGE, scratch.data());
    makeTexture(e.halfPassTex, fullW / 2, fullH / 2, GL_CLAMP, scratch.data());
}

void grab(EffectTextures& e, Copy copy) {
    const int i = indexOf(copy);
    if (e.targetSmall) {
        glBindTexture(GL_TEXTURE_2D, e.smallCopyTex[i]);
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, e.smallSourceX, e.smallSourceY, e.smallWidth,
                            e.smallHeight);
    } else {
        glBindTexture(GL_TEXTURE_2D, e.copyTex[i]);
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, e.fullSourceX, e.fullSourceY, e.fullWidth, e.fullHeight);
    }
}

void multiply(EffectTextures& e, Copy copy) {
    const int i = indexOf(copy);
    beginQuads();
    setTexEnv(GL_ADD);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_ZERO, GL_SRC_COLOR);
    glEnable(GL_BLEND);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    {
        const TexelForTexel texels(e.copyTex[i], true);
        drawQuad(false, e);
    }
    endQuads();
}

void show(EffectTextures& e, Copy copy, float alpha) {
    const int i = indexOf(copy);
    beginQuads();
    glClear(GL_COLOR_BUFFER_BIT);
    glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
    setTexEnv(GL_ADD);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glColor4f(0.0f, 0.0f, 0.0f, alpha);
    {
        const TexelForTexel texels(sampledTexture(e, i, 0), true);
        drawQuad(e.sampleSmall != 0, e);
    }
    endQuads();
}

void fill(EffectTextures& e, float alpha, float r, float g, float b) {
    beginQuads();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    setTexEnv(GL_ADD);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glColor4f(r, g, b, alpha);
    drawQuad(e.sampleSmall != 0, e);
    glEnable(GL_TEXTURE_2D);
    endQuads();
}

void overlay(EffectTextures& e, Copy copy, float alpha, float brightness, Overlay mode) {
    const int i = indexOf(copy);
    beginQuads();
    if (mode == Overlay::Add)
        glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
    else
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    setTexEnv(GL_ADD);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glColor4f(brightness, brightness, brightness, alpha);
    {
        const TexelForTexel texels(sampledTexture(e, i, 0), e.sampleSmall == e.targetSmall);
        drawQuad(e.targetSmall != 0, e);
    }
    endQuads();
}

void burn(EffectTextures& e, Copy copy, int passes, float gain) {
    const int i = indexOf(copy);
    beginQuads();
    glBlendFunc(GL_ONE, GL_ONE);
    setTexEnv(GL_MODULATE);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glColor4f(gain, gain, gain, 1.0f);
    if (gain != 1.0f)
        glEnable(GL_COLOR_MATERIAL);
    else
        glDisable(GL_COLOR_MATERIAL);
    const bool onePass = fastRendering() && passes > 0 && useFragmentProgram(gBurnTwice);
    for (int k = 0; k < passes; ++k) {
        {
            const TexelForTexel texels(sampledTexture(e, i, k), true);
            drawQuad(e.sampleSmall != 0, e);
            if (!onePass) drawQuad(e.sampleSmall != 0, e);
        }
        if (k < passes - 1) {
            grabPass(e, i, 0);
            if (onePass) {
                glDisable(GL_BLEND); // later passes replace the frame rather than add to a cleared one
            } else {
                glClear(GL_COLOR_BUFFER_BIT);
            }
        }
    }
    if (onePass) {
        endFragmentProgram();
        glEnable(GL_BLEND);
    }
    setTexEnv(GL_ADD);
    endQuads();
}

void blur(EffectTextures& e, Copy copy, const BlurDesc& desc) {
    const int i = indexOf(copy);
    const int passes = desc.passes;
    beginQuads();
    glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    setTexEnv(GL_MODULATE);
    const bool oneQuad = fastRendering() && passes > 0 && useFragmentProgram(gBlurTaps);
    if (oneQuad) {
        glDisable(GL_BLEND);
        setProgramLocal(4, desc.r, desc.g, desc.b, std::round(kBlurTapWeight * 255.0f) / 255.0f);
    }
    for (int k = 0; k < passes; ++k) {
        const TapOffset h = blurTapOffset(e, desc, k);
        glBindTexture(GL_TEXTURE_2D, sampledTexture(e, i, k));
        if (oneQuad) {
            glColor4f(desc.r, desc.g, desc.b, kBlurTapWeight);
            drawTapQuad(setArea(e.sampleSmall != 0, e), h.u, h.v);
        } else {
            glClear(GL_COLOR_BUFFER_BIT);
            for (const float t : {-h.v, h.v}) {
                for (const float s : {-h.u, h.u}) {
                    glColor4f(desc.r, desc.g, desc.b, kBlurTapWeight);
                    drawQuad(e.sampleSmall != 0, e, s, t, s + 1.0f, t + 1.0f);
                }
            }
        }
        if (k < passes - 1) grabPass(e, i, e.sampleSmall ? e.smallSourceX : e.fullSourceX);
    }
    if (oneQuad) {
        endFragmentProgram();
        glEnable(GL_BLEND);
    }
    glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
    setTexEnv(GL_ADD);
    endQuads();
}

void zoomStreak(EffectTextures& e, Copy copy, const ZoomStreakDesc& desc) {
    const int i = indexOf(copy);
    const int passes = desc.passes;
    beginQuads();
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    const bool fast = fastRendering();
    // With no strength every pass after the first lays the frame unmoved over itself, which
    // changes nothing: the fast path draws the first only. Over its own grab the first changes
    // nothing either.
    const int drawn = desc.strength == 0.0f && fast ? std::min(passes, 1) : passes;
    const int first = fast && desc.overItsGrab ? 1 : 0;
    for (int k = first; k < drawn; ++k) {
        glBindTexture(GL_TEXTURE_2D, sampledTexture(e, i, k == first ? 0 : k));
        const StreakPass pass = streakPass(desc, k);
        glColor4f(0.0f, 0.0f, 0.0f, pass.alpha);
        drawQuad(e.sampleSmall != 0, e, pass.s0, pass.t0, pass.s1, pass.t1);
        if (k < drawn - 1) grabPass(e, i, e.sampleSmall ? e.smallSourceX : e.fullSourceX);
    }
    endQuads();
}

bool canComposeHalfMask(EffectTextures&) {
    const bool ready = useFragmentProgram(gMaskedCompose) && useFragmentProgram(gBlurTaps);
    endFragmentProgram();
    return ready;
}

void composeHalfMask(EffectTextures& e, const HalfMaskComposition& c) {
    const BlurDesc& maskBlur = c.maskBlur;
    if (!c.maskOnScreenAtHalfSize) grab(e, c.mask);
    beginQuads();
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);

    // The passes draw over the mask in the frame's lower-left quarter, each grabbing the last,
    // their taps wrapping or clamping as the mask's copy does.
    const QuadArea half = halfArea(e);
    const auto grabHalf = [&](unsigned texture) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, e.fullSourceX, e.fullSourceY, halfWidth(e),
                            halfHeight(e));
    };
    GLint wrap = GL_CLAMP;
    glBindTexture(GL_TEXTURE_2D, e.copyTex[indexOf(c.mask)]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    glBindTexture(GL_TEXTURE_2D, e.halfPassTex);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    useFragmentProgram(gBlurTaps);
    setProgramLocal(4, maskBlur.r, maskBlur.g, maskBlur.b, std::round(kBlurTapWeight * 255.0f) / 255.0f);
    for (int k = 0; k < maskBlur.passes; ++k) {
        // A full-size mask is read at its own size by the first pass, at half size after it.
        if (k == 0 && !c.maskOnScreenAtHalfSize) {
            glBindTexture(GL_TEXTURE_2D, e.copyTex[indexOf(c.mask)]);
        } else {
            grabHalf(e.halfPassTex);
        }
        const TapOffset h = blurTapOffset(e, maskBlur, k);
        drawTapQuad(half, h.u, h.v);
    }
    grabHalf(e.halfMaskTex);

    useFragmentProgram(gMaskedCompose);
    {
        const TexelForTexel picture(e.copyTex[indexOf(c.picture)], true);
        glext::glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, e.halfMaskTex);
        glext::glActiveTexture(GL_TEXTURE2);
        glBindTexture(GL_TEXTURE_2D, e.smallCopyTex[indexOf(c.glow)]);
        glext::glActiveTexture(GL_TEXTURE0);
        drawQuad(false, e);
    }
    endFragmentProgram();

    // What the reference's last overlay leaves.
    glBindTexture(GL_TEXTURE_2D, e.smallCopyTex[indexOf(c.glow)]);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
    glEnable(GL_BLEND);
    setTexEnv(GL_ADD);
    endQuads();
}

} // namespace

extern const EffectOps effectOps{.createTextures = createTextures,
                                 .grab = grab,
                                 .multiply = multiply,
                                 .show = show,
                                 .fill = fill,
                                 .overlay = overlay,
                                 .burn = burn,
                                 .blur = blur,
                                 .zoomStreak = zoomStreak,
                                 .canComposeHalfMask = canComposeHalfMask,
                                 .composeHalfMask = composeHalfMask};

} // namespace fixed
