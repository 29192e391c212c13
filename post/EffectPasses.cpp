#include "post/EffectPasses.h"

#include "math/Angles.h"

#include <cmath>

namespace {

// Quads drawn, in frames' worth of pixels: a full-size quad counts 1, a small one its share.
double gQuadFrames = 0.0;

} // namespace

QuadArea setArea(bool small, const EffectTextures& e) {
    const float hw = static_cast<float>(small ? e.smallHalfWidth : e.fullHalfWidth);
    const float hh = static_cast<float>(small ? e.smallHalfHeight : e.fullHalfHeight);
    const double share = small ? static_cast<double>(e.smallWidth) * e.smallHeight /
                                     (static_cast<double>(e.fullWidth) * e.fullHeight)
                               : 1.0;
    return {-hw, -hh, hw, hh, share};
}

int halfWidth(const EffectTextures& e) { return e.fullWidth / 2; }

int halfHeight(const EffectTextures& e) { return e.fullHeight / 2; }

QuadArea halfArea(const EffectTextures& e) {
    const float x0 = -static_cast<float>(e.fullHalfWidth);
    const float y0 = -static_cast<float>(e.fullHalfHeight);
    return {x0, y0, x0 + static_cast<float>(halfWidth(e)), y0 + static_cast<float>(halfHeight(e)), 0.25};
}

unsigned sampledTexture(const EffectTextures& e, int i, int k) {
    if (e.sampleSmall) return k == 0 ? e.smallCopyTex[i] : e.smallPassTex[i];
    return k == 0 ? e.copyTex[i] : e.passTex[i];
}

TapOffset blurTapOffset(const EffectTextures& e, const BlurDesc& desc, int k) {
    const float step = static_cast<float>(k + 1) * desc.spread / static_cast<float>(desc.passes);
    const float du = static_cast<float>(e.smallWidth) * desc.stretchX * step * kBlurStepX / e.pixelScale;
    const float dv = static_cast<float>(e.smallHeight) * desc.stretchY * step * kBlurStepY / e.pixelScale;
    return {0.5f * du, 0.5f * dv};
}

StreakPass streakPass(const ZoomStreakDesc& desc, int k) {
    const float strength = desc.strength;
    const float passes = static_cast<float>(desc.passes);
    const float p = 0.1f * strength;
    const float theta1 = desc.angle;
    const float theta2 = desc.angle + desc.phase * kShowHalfPi;
    const float shapeX = std::cos(theta1) + std::sin(theta1);
    const float shapeY = std::sin(theta2) + std::cos(theta2);
    const float z =
        static_cast<float>(k + 1) * strength / passes / std::pow(kStreakDecay, static_cast<float>(k));
    const float d = (p - z) * static_cast<float>(k);
    const float m = d * shapeX;
    const float n = d * shapeY;
    const float o = -m * desc.centreX;
    const float q = -n * desc.centreY;
    const float fade = std::sqrt(static_cast<float>(k) / passes) * desc.streakFade;
    return {o - m, q - n, o + m + 1.0f, q + n + 1.0f, desc.alpha - fade};
}

void countQuadFrames(double frames) { gQuadFrames += frames; }

double effectQuadFrames() { return gQuadFrames; }

void resetEffectQuadFrames() { gQuadFrames = 0.0; }
