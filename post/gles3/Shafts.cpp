// The light shafts' chain at half the small width: the grab burnt and scaled down, blurred and
// streaked in textures the passes render into, and held there until their copy is read.
#include "post/gles3/EffectScratch.h"
#include "post/gles3/Gles3Effects.h"
#include "post/gles3/PassDrawing.h"
#include "render/PassProfile.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace gles3 {

// Whether shaftGlow runs at half the small width: on a small set as wide as the frame (and half
// as tall) the half-width texels are square. The shafts are smears of a glow: their frames stay
// within about 43 dB of the full-width chain's for a fraction of the pixel work; at half the
// height too they fell to 41 dB, the shafts' fine lines visibly softer.
bool shaftsAtHalfWidth(const EffectTextures& e) {
    return scratchOf(e).passFramebuffer != 0 && e.sampleSmall && e.targetSmall && e.smallWidth >= e.fullWidth;
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
void streakInto(const EffectTextures& e, const ZoomStreakDesc& desc, unsigned spare, unsigned blurred) {
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

bool shaftGlow(EffectTextures& e, Copy copy, const ShaftGlowDesc& desc) {
    if (!shaftsAtHalfWidth(e) || desc.zoom.passes < 3 || !buildEffectPrograms()) return false;
    const int i = indexOf(copy);
    EffectScratch& own = scratchOf(e);
    if (own.heldShafts == i)
        own.heldShafts = -1; // about to be replaced
    else
        settleShafts(e); // the chain reuses the textures they are held in
    if (desc.pictureAtHalfWidth) {
        bindTexture2D(e.smallCopyTex[i]);
        es::glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, e.smallSourceX, e.smallSourceY, e.smallWidth / 2,
                                e.smallHeight);
    } else {
        grab(e, copy);
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
        const unsigned (&t)[3] = own.streakTex;
        std::optional<PassTimer> timer;
        timer.emplace("  shaft grab+downscale");
        renderInto(own.passFramebuffer, t[0]);
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
            renderInto(own.passFramebuffer, next);
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
        own.heldShafts = i;
        own.heldShaftsTexture = source;
    }
    // What the steps' last overlay leaves.
    bindTexture2D(e.smallCopyTex[i]);
    es::glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
    es::glEnable(GL_BLEND);
    return true;
}

void settleShafts(EffectTextures& e) {
    EffectScratch& own = scratchOf(e);
    if (own.heldShafts < 0) return;
    const int i = own.heldShafts;
    own.heldShafts = -1;
    const EffectProgram* p = useProgram(kShaftUpscale);
    if (!p) return;
    const GLboolean blend = es::glIsEnabled(GL_BLEND);
    const Quads quads;
    {
        const TextureTarget target(e.smallWidth, e.smallHeight);
        es::glDisable(GL_BLEND);
        renderInto(own.passFramebuffer, e.smallCopyTex[i]);
        const GLuint held = own.heldShaftsTexture;
        bindTexture2D(held);
        setWrap(held, Wrap::ClampToEdge); // stretched to the small size, it clamps to its edge texels
        drawTargetQuad(*p);
        countQuadFrames(setArea(true, e).frames);
    }
    if (blend) es::glEnable(GL_BLEND);
}

} // namespace gles3
