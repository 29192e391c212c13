#pragma once
// What the shader renderer's post files call of one another: the grab, and the shafts' chain
// and the shadowed frame's composition, which the operations table lists beside the others.

#include "post/EffectTypes.h"

namespace gles3 {

void grab(EffectTextures& e, Copy copy);

// The whole of shaftGlow in one chain at half width; false where it does not run that way (the
// front then takes the steps one by one).
bool shaftGlow(EffectTextures& e, Copy copy, const ShaftGlowDesc& desc);
bool shaftsAtHalfWidth(const EffectTextures& e);
// Stretches shafts held at half width into their copy; nothing when none are held.
void settleShafts(EffectTextures& e);

bool canComposeHalfMask(EffectTextures& e);
void composeHalfMask(EffectTextures& e, const HalfMaskComposition& composition);

} // namespace gles3
