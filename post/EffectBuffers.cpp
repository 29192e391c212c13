#include "post/EffectBuffers.h"

#include "post/EffectBackend.h"
#include "render/Backends.h"
#include "render/FrameSize.h"
#include "render/PassProfile.h"
#include "render/TextureResample.h"

namespace {

const EffectOps& ops() { return *backend().effects; }

void setSizes(EffectTextures& e, int fullW, int fullH, int smallW, int smallH) {
    e.fullWidth = fullW;
    e.fullHeight = fullH;
    e.fullHalfWidth = fullW / 2;
    e.fullHalfHeight = fullH / 2;
    e.smallWidth = smallW;
    e.smallHeight = smallH;
    e.smallHalfWidth = smallW / 2;
    e.smallHalfHeight = smallH / 2;
    e.pixelScale = static_cast<float>(fullW) / static_cast<float>(kBaseFrame);
}

} // namespace

EffectBuffers::EffectBuffers(int fullW, int fullH, int smallW, int smallH) {
    setSizes(*this, fullW, fullH, smallW, smallH);
    ops().createTextures(*this);
}

void EffectBuffers::resize(int fullW, int fullH, int smallW, int smallH, TextureResampler& resampler) {
    if (ops().settle) ops().settle(*this);
    for (int i = 0; i < kCopyCount; ++i) {
        resampler.resample(copyTex[i], fullW, fullH);
        resampler.resample(passTex[i], fullW, fullH);
        resampler.resample(smallCopyTex[i], smallW, smallH);
        resampler.resample(smallPassTex[i], smallW, smallH);
    }
    resampler.resample(halfMaskTex, fullW / 2, fullH / 2);
    resampler.resample(halfPassTex, fullW / 2, fullH / 2);
    setSizes(*this, fullW, fullH, smallW, smallH);
    if (ops().resizeOwn) ops().resizeOwn(*this);
}

void EffectBuffers::grab(Copy copy) {
    const PassTimer t("post: grab");
    ops().grab(*this, copy);
}

void EffectBuffers::multiply(Copy copy) {
    const PassTimer t("post: multiply");
    ops().multiply(*this, copy);
}

void EffectBuffers::show(Copy copy, float alpha) {
    const PassTimer t("post: show");
    ops().show(*this, copy, alpha);
}

void EffectBuffers::fill(float alpha, float r, float g, float b) {
    const PassTimer t("post: fill");
    ops().fill(*this, alpha, r, g, b);
}

void EffectBuffers::overlay(Copy copy, float alpha, float brightness, Overlay mode) {
    const PassTimer t("post: overlay");
    ops().overlay(*this, copy, alpha, brightness, mode);
}

void EffectBuffers::burn(Copy copy, int passes, float gain) {
    const PassTimer t("post: burn");
    ops().burn(*this, copy, passes, gain);
}

void EffectBuffers::blur(Copy copy, const BlurDesc& desc) {
    const PassTimer t("post: blur");
    ops().blur(*this, copy, desc);
}

void EffectBuffers::zoomStreak(Copy copy, const ZoomStreakDesc& desc) {
    const PassTimer t("post: zoomStreak");
    ops().zoomStreak(*this, copy, desc);
}

void EffectBuffers::shaftGlow(Copy copy, const ShaftGlowDesc& desc) {
    if (ops().shaftGlow && ops().shaftGlow(*this, copy, desc)) return;
    grab(copy);
    burn(copy, desc.burnPasses, 1.0f);
    grab(copy);
    blur(copy, desc.blur);
    grab(copy);
    ZoomStreakDesc zoom = desc.zoom;
    zoom.overItsGrab = true;
    zoomStreak(copy, zoom);
    overlay(copy, 1.0f, 0.0f, Overlay::Add);
    grab(copy);
}

bool EffectBuffers::shaftsAtHalfWidth() const { return ops().shaftsAtHalfWidth && ops().shaftsAtHalfWidth(*this); }

bool EffectBuffers::halvesMasksWhereAllowed() const { return ops().halvesMasksWhereAllowed; }

void EffectBuffers::addGlow(Copy copy, float alpha) {
    const int sample = sampleSmall, target = targetSmall;
    sampleSmall = 1;
    targetSmall = 0;
    overlay(copy, alpha, 0.0f, Overlay::Add);
    sampleSmall = sample;
    targetSmall = target;
}

bool EffectBuffers::canComposeHalfMask() { return ops().canComposeHalfMask(*this); }

void EffectBuffers::composeHalfMask(const HalfMaskComposition& composition) {
    const PassTimer t("post: composeHalfMask");
    ops().composeHalfMask(*this, composition);
}
