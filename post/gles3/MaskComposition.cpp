// The shadowed frame's composition: the soft mask blurred in textures a half or a quarter of the
// frame's size each way, then the picture times the mask plus the glow in one quad, with the
// mask in the held shafts' alpha where they are its glow.
#include "post/gles3/EffectScratch.h"
#include "post/gles3/Gles3Effects.h"
#include "post/gles3/PassDrawing.h"
#include "render/PassProfile.h"

#include <optional>

namespace gles3 {

namespace {

// The soft mask's blur, its passes rendered by turns into two textures of a `divisor`-th of the
// frame's size each way (no copies back). Returns the texture holding the blurred mask. With
// `alphaOf`, the last pass writes the mask into that texture's alpha alone, at its size.
unsigned blurMask(EffectTextures& e, const HalfMaskComposition& c, unsigned firstSource, int divisor,
                  const unsigned (&targets)[2], unsigned alphaOf = 0) {
    const EffectScratch& own = scratchOf(e);
    const BlurDesc& maskBlur = c.maskBlur;
    const Wrap wrap = wrapOf(e.copyTex[indexOf(c.mask)]);
    unsigned source = firstSource;
    {
        const TextureTarget target(e.fullWidth / divisor, e.fullHeight / divisor);
        for (int k = 0; k < maskBlur.passes; ++k) {
            const bool intoAlpha = alphaOf != 0 && k == maskBlur.passes - 1;
            const unsigned next = intoAlpha ? alphaOf : source == targets[0] ? targets[1] : targets[0];
            renderInto(own.passFramebuffer, next);
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
bool blursMaskAtQuarterSize(const EffectTextures& e, const BlurDesc& maskBlur) {
    const TapOffset h = blurTapOffset(e, maskBlur, maskBlur.passes - 1);
    return 2.0f * h.u * static_cast<float>(e.fullWidth / 4) >= 1.0f &&
           2.0f * h.v * static_cast<float>(e.fullHeight / 4) >= 1.0f;
}

} // namespace

bool canComposeHalfMask(EffectTextures&) { return buildEffectPrograms(); }

void composeHalfMask(EffectTextures& e, const HalfMaskComposition& c) {
    // Shafts held at half width for the glow carry a grey mask in their alpha: one filtered read
    // fetches both, and the shafts are never stretched to the small size.
    const EffectScratch& own = scratchOf(e);
    const BlurDesc& b = c.maskBlur;
    const bool packed = own.heldShafts == indexOf(c.glow) && b.passes > 0 && b.r == b.g && b.g == b.b;
    if (!packed) settleShafts(e);
    std::optional<PassTimer> timer;
    timer.emplace("  mask grab");
    if (!c.maskOnScreenAtHalfSize) grab(e, c.mask);
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
    const unsigned packedGlow = packed ? own.heldShaftsTexture : 0;
    const unsigned mask = blursMaskAtQuarterSize(e, c.maskBlur)
                              ? blurMask(e, c, first, 4, own.quarterMaskTex, packedGlow)
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

} // namespace gles3
