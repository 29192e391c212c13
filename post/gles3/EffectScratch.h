#pragma once
// What the shader renderer keeps of its own for a set of effect buffers (EffectTextures::own):
// the light shafts' chain at half the small width (three textures the passes render into and
// copy to by turns), the soft mask's passes at a quarter of the full size each way (rendered
// into by turns), and the framebuffer that renders into them. The shafts stay at half width, in
// heldShaftsTexture (one of streakTex), until the copy they are for is read: the shadowed frame's
// composition reads them there, and anything else stretches them into the copy first.

#include "post/EffectTypes.h"

namespace gles3 {

struct EffectScratch {
    unsigned streakTex[3] = {};
    unsigned quarterMaskTex[2] = {};
    unsigned passFramebuffer = 0;
    int heldShafts = -1; // the copy whose shafts are held; -1: none
    unsigned heldShaftsTexture = 0;
};

// The set's own state; a set made without textures has an empty one that holds nothing.
EffectScratch& scratchOf(EffectTextures& e);
const EffectScratch& scratchOf(const EffectTextures& e);

} // namespace gles3
