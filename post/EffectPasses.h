#pragma once
// What the post stack's operations work out the same way for both renderers: the quads' places
// and sizes, which texture a pass reads, blur's tap offsets, zoomStreak's passes, and the count
// of the pixel work the quads cost.

#include "post/EffectTypes.h"

// Weight of each of blur's four taps: 65/256, so a pass sums to 1.015625 and brightens a little.
inline constexpr float kBlurTapWeight = 0.25390625f;
// Blur's tap offset in texture units per small-size pixel and unit of spread: 1/1024 across,
// twice that, 1/512, up.
inline constexpr float kBlurStepX = 0.0009765625f;
inline constexpr float kBlurStepY = 0.001953125f;
// Each zoomStreak pass shrinks its zoom by this factor.
inline constexpr float kStreakDecay = 1.13f;

inline int indexOf(Copy copy) { return static_cast<int>(copy); }

// Where a quad lies in the one-unit-per-pixel projection centred on the frame, and the share
// of a full frame's pixels it covers.
struct QuadArea {
    float x0 = 0.0f, y0 = 0.0f, x1 = 0.0f, y1 = 0.0f;
    double frames = 1.0;
};

// The full-frame quad of one set, centred on the origin.
QuadArea setArea(bool small, const EffectTextures& e);

// The half-size textures' picture: the lower-left quarter of the full frame.
int halfWidth(const EffectTextures& e);
int halfHeight(const EffectTextures& e);
QuadArea halfArea(const EffectTextures& e);

// Texture read by pass k: the grab for the first pass, the previous pass's result after it.
unsigned sampledTexture(const EffectTextures& e, int i, int k);

// Half of blur's tap offset in pass k, in texture units across and up. The step is measured in
// small-size pixels whichever set is sampled.
struct TapOffset {
    float u = 0.0f, v = 0.0f;
};
TapOffset blurTapOffset(const EffectTextures& e, const BlurDesc& desc, int k);

// One zoomStreak pass: the texture rectangle its quad shows (the accumulated picture zoomed
// about the centre) and its opacity.
struct StreakPass {
    float s0 = 0.0f, t0 = 0.0f, s1 = 1.0f, t1 = 1.0f;
    float alpha = 1.0f;
};
StreakPass streakPass(const ZoomStreakDesc& desc, int k);

// Adds a quad's pixels, in frames' worth, to effectQuadFrames.
void countQuadFrames(double frames);
