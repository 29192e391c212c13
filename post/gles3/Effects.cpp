// The post stack in the shader renderer: the operations as the fixed-function renderer's fast
// path draws them (blur's taps and burn's doubled quad in one pass each, rounded to eight bits as
// the framebuffer rounds between the reference's passes; the shadow mask blurred at half size and
// composed in one quad), with the same raster state left behind. Beyond the fast path, passes
// that feed only the next pass render into textures instead of being copied back, and two
// low-frequency chains run smaller: the light shafts (burn, blur and streaks) at half width, and
// a widely blurred shadow mask at a quarter of the frame's size each way. The shafts stay at half
// width until their copy is read: the shadowed frame's composition reads them there, with the
// soft mask laid in their alpha, so one filtered read fetches both (a filtered read over the
// whole frame is the costliest thing llvmpipe does here).
#include "post/EffectBackend.h"

#include "post/gles3/EffectScratch.h"
#include "post/gles3/Gles3Effects.h"
#include "post/gles3/PassDrawing.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace gles3 {

EffectScratch& scratchOf(EffectTextures& e) {
    static EffectScratch none;
    return e.own ? *static_cast<EffectScratch*>(e.own.get()) : none;
}

const EffectScratch& scratchOf(const EffectTextures& e) { return scratchOf(const_cast<EffectTextures&>(e)); }

namespace {

// The shafts' textures hold RGBA: the composition may lay the shadow mask in their alpha. Their
// pictures are scratch, remade every frame.
void makeScratchTextures(EffectTextures& e) {
    const std::vector<unsigned char> black(
        static_cast<std::size_t>(std::max(e.smallWidth * e.smallHeight, e.fullWidth * e.fullHeight)) * 3, 0);
    for (const GLuint t : scratchOf(e).streakTex)
        makeTexture(t, e.smallWidth / 2, e.smallHeight, Wrap::ClampToEdge, black.data(), GL_RGBA);
    for (const GLuint t : scratchOf(e).quarterMaskTex) makeTexture(t, e.fullWidth / 4, e.fullHeight / 4, Wrap::ClampToEdge, black.data());
}

void createTextures(EffectTextures& e) {
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
    auto own = std::make_shared<EffectScratch>();
    e.own = own;
    es::glGenTextures(3, own->streakTex);
    es::glGenTextures(2, own->quarterMaskTex);
    makeScratchTextures(e);
    es::glGenFramebuffers(1, &own->passFramebuffer);
    es::glGenTextures(1, &e.halfMaskTex);
    es::glGenTextures(1, &e.halfPassTex);
    makeTexture(e.halfMaskTex, fullW / 2, fullH / 2, Wrap::ClampToEdge, black.data());
    makeTexture(e.halfPassTex, fullW / 2, fullH / 2, Wrap::ClampToBlack, black.data());
}

void resizeOwn(EffectTextures& e) { makeScratchTextures(e); }

void multiply(EffectTextures& e, Copy copy) {
    const Quads quads;
    es::glDisable(GL_CULL_FACE);
    es::glDisable(GL_DEPTH_TEST);
    es::glBlendFunc(GL_ZERO, GL_SRC_COLOR);
    es::glEnable(GL_BLEND);
    bindTexture2D(e.copyTex[indexOf(copy)]);
    drawSetQuad(false, e, textured(Texturing::Add), {0.0f, 0.0f, 0.0f, 1.0f}, Reach::WithinTexels);
}

void show(EffectTextures& e, Copy copy, float alpha) {
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

void fill(EffectTextures& e, float alpha, float r, float g, float b) {
    const Quads quads;
    es::glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    es::glDisable(GL_CULL_FACE);
    es::glEnable(GL_BLEND);
    drawSetQuad(e.sampleSmall != 0, e, Texturing::None, {r, g, b, alpha}, Reach::WithinTexels);
    setTexturing(true);
}

void overlay(EffectTextures& e, Copy copy, float alpha, float brightness, Overlay mode) {
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

void burn(EffectTextures& e, Copy copy, int passes, float gain) {
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

void blur(EffectTextures& e, Copy copy, const BlurDesc& desc) {
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

void zoomStreak(EffectTextures& e, Copy copy, const ZoomStreakDesc& desc) {
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

} // namespace

void grab(EffectTextures& e, Copy copy) {
    const int i = indexOf(copy);
    if (e.targetSmall) {
        EffectScratch& own = scratchOf(e);
        if (own.heldShafts == i) own.heldShafts = -1; // overwritten before anything read them
        bindTexture2D(e.smallCopyTex[i]);
        es::glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, e.smallSourceX, e.smallSourceY, e.smallWidth,
                                e.smallHeight);
    } else {
        bindTexture2D(e.copyTex[i]);
        es::glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, e.fullSourceX, e.fullSourceY, e.fullWidth,
                                e.fullHeight);
    }
}

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
                                 .composeHalfMask = composeHalfMask,
                                 .shaftGlow = shaftGlow,
                                 .shaftsAtHalfWidth = shaftsAtHalfWidth,
                                 .settle = settleShafts,
                                 .resizeOwn = resizeOwn,
                                 .halvesMasksWhereAllowed = true};

} // namespace gles3
