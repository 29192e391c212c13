#pragma once
// The post stack's operations as each renderer provides them: namespace fixedfn in
// EffectBuffersFixedFunction.cpp, namespace shader in EffectBuffersShader.cpp. The front,
// EffectBuffers.cpp, picks one by renderer(); nothing else calls these.

#include "post/EffectBuffers.h"

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
bool canComposeHalfMask(EffectBuffers& e);
void composeHalfMask(EffectBuffers& e, const HalfMaskComposition& composition);

} // namespace shader
