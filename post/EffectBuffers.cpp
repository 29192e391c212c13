// The front of EffectBuffers.h: each operation goes to the renderer chosen at start-up.
#include "post/EffectBuffers.h"

#include "post/EffectBackends.h"
#include "render/FrameSize.h"
#include "render/Renderer.h"
#include "render/TextureResample.h"

namespace {

bool shaded() { return renderer() == Renderer::Shader; }

} // namespace

EffectBuffers::EffectBuffers(int fullW, int fullH, int smallW, int smallH)
    : fullWidth(fullW), fullHeight(fullH), fullHalfWidth(fullW / 2), fullHalfHeight(fullH / 2),
      smallWidth(smallW), smallHeight(smallH), smallHalfWidth(smallW / 2), smallHalfHeight(smallH / 2),
      pixelScale(static_cast<float>(fullW) / static_cast<float>(kBaseFrame)) {
    shaded() ? shader::createTextures(*this) : fixedfn::createTextures(*this);
}

void EffectBuffers::resize(int fullW, int fullH, int smallW, int smallH, TextureResampler& resampler) {
    if (shaded()) shader::settleShafts(*this);
    for (int i = 0; i < kCopyCount; ++i) {
        resampler.resample(copyTex[i], fullW, fullH);
        resampler.resample(passTex[i], fullW, fullH);
        resampler.resample(smallCopyTex[i], smallW, smallH);
        resampler.resample(smallPassTex[i], smallW, smallH);
    }
    resampler.resample(halfMaskTex, fullW / 2, fullH / 2);
    resampler.resample(halfPassTex, fullW / 2, fullH / 2);
    fullWidth = fullW;
    fullHeight = fullH;
    fullHalfWidth = fullW / 2;
    fullHalfHeight = fullH / 2;
    smallWidth = smallW;
    smallHeight = smallH;
    smallHalfWidth = smallW / 2;
    smallHalfHeight = smallH / 2;
    pixelScale = static_cast<float>(fullW) / static_cast<float>(kBaseFrame);
    if (shaded()) shader::resizeScratch(*this);
}

void EffectBuffers::grab(Copy copy) { shaded() ? shader::grab(*this, copy) : fixedfn::grab(*this, copy); }

void EffectBuffers::multiply(Copy copy) {
    shaded() ? shader::multiply(*this, copy) : fixedfn::multiply(*this, copy);
}

void EffectBuffers::show(Copy copy, float alpha) {
    shaded() ? shader::show(*this, copy, alpha) : fixedfn::show(*this, copy, alpha);
}

void EffectBuffers::fill(float alpha, float r, float g, float b) {
    shaded() ? shader::fill(*this, alpha, r, g, b) : fixedfn::fill(*this, alpha, r, g, b);
}

void EffectBuffers::overlay(Copy copy, float alpha, float brightness, Overlay mode) {
    shaded() ? shader::overlay(*this, copy, alpha, brightness, mode)
             : fixedfn::overlay(*this, copy, alpha, brightness, mode);
}

void EffectBuffers::burn(Copy copy, int passes, float gain) {
    shaded() ? shader::burn(*this, copy, passes, gain) : fixedfn::burn(*this, copy, passes, gain);
}

void EffectBuffers::blur(Copy copy, const BlurDesc& desc) {
    shaded() ? shader::blur(*this, copy, desc) : fixedfn::blur(*this, copy, desc);
}

void EffectBuffers::zoomStreak(Copy copy, const ZoomStreakDesc& desc) {
    shaded() ? shader::zoomStreak(*this, copy, desc) : fixedfn::zoomStreak(*this, copy, desc);
}

void EffectBuffers::shaftGlow(Copy copy, const ShaftGlowDesc& desc) {
    if (shaded() && shader::shaftGlow(*this, copy, desc)) return;
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

bool EffectBuffers::shaftsAtHalfWidth() const { return shaded() && shader::shaftsAtHalfWidth(*this); }

void EffectBuffers::addGlow(Copy copy, float alpha) {
    const int sample = sampleSmall, target = targetSmall;
    sampleSmall = 1;
    targetSmall = 0;
    overlay(copy, alpha, 0.0f, Overlay::Add);
    sampleSmall = sample;
    targetSmall = target;
}

bool EffectBuffers::canComposeHalfMask() {
    return shaded() ? shader::canComposeHalfMask(*this) : fixedfn::canComposeHalfMask(*this);
}

void EffectBuffers::composeHalfMask(const HalfMaskComposition& composition) {
    shaded() ? shader::composeHalfMask(*this, composition) : fixedfn::composeHalfMask(*this, composition);
}
