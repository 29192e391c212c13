#pragma once
// The post stack's operations as each renderer provides them: namespace fixedfn in
// EffectBuffersFixedFunction.cpp, namespace shader in EffectBuffersShader.cpp. The front,
// EffectBuffers.cpp, picks one by renderer(); nothing else calls these.

#include "post/EffectBuffers.h"

#ifndef CASTRELLE_SHADER_ONLY
namespace fixedfn {

void createTextures(EffectBuffers& e);
void grab(EffectBuffers& e, Copy copy);
void multiply(EffectBuffers& e, Copy copy);
void show(EffectBuffers& e, Copy copy, float alpha);
void fill(EffectBuffers& e, float alpha, float r, float g, float b);
void overlay(EffectBuffers& e, Copy copy, float alpha, float brightness, Overlay mode);
void burn(EffectBuffers& e, Copy copy, int passes, float gain);
void blur(EffectBuffers& e, Copy copy, const BlurDesc& desc);
void zoomStreak(EffectBuffers& e, Copy copy, const ZoomStreakDesc& desc);
bool canComposeHalfMask(EffectBuffers& e);
void composeHalfMask(EffectBuffers& e, const HalfMaskComposition& composition);

} // namespace fixedfn
#endif

namespace shader {

void createTextures(EffectBuffers& e);
void grab(EffectBuffers& e, Copy copy);
void multiply(EffectBuffers& e, Copy copy);
void show(EffectBuffers& e, Copy copy, float alpha);
void fill(EffectBuffers& e, float alpha, float r, float g, float b);
void overlay(EffectBuffers& e, Copy copy, float alpha, float brightness, Overlay mode);
void burn(EffectBuffers& e, Copy copy, int passes, float gain);
void blur(EffectBuffers& e, Copy copy, const BlurDesc& desc);
void zoomStreak(EffectBuffers& e, Copy copy, const ZoomStreakDesc& desc);
// The whole of shaftGlow in one chain at half width; false where it does not run that way (the
// front then takes the steps one by one).
bool shaftGlow(EffectBuffers& e, Copy copy, const ShaftGlowDesc& desc);
bool shaftsAtHalfWidth(const EffectBuffers& e);
// Stretches shafts held at half width into their copy; nothing when none are held.
void settleShafts(EffectBuffers& e);
// Gives the shader renderer's scratch textures the buffers' sizes (their pictures are not kept).
void resizeScratch(EffectBuffers& e);
bool canComposeHalfMask(EffectBuffers& e);
void composeHalfMask(EffectBuffers& e, const HalfMaskComposition& composition);

} // namespace shader

#ifdef CASTRELLE_SHADER_ONLY
// A build with the shader renderer alone (the browser's) has no fixed-function files: the
// fronts' other branch names the same operations.
namespace fixedfn = shader;
#endif
