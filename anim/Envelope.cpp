#include "anim/Envelope.h"

#include "math/Angles.h"

#include <cmath>

namespace {

// Half-cosine ease: 0 -> 1 as x goes 0 -> 1 for phase 1, shape 1.
float ease(float x, float phase, float shape) {
    return 0.5f - 0.5f * static_cast<float>(std::cos(std::pow(x, shape) * phase * kShowPi));
}

float atMostOne(float v) { return v > 1.0f ? 1.0f : v; }

} // namespace

float Envelope::rampUp(float t) const {
    if (t <= inStart) return 0.0f;
    if (t <= inStart + inLength) return (t - inStart) / inLength;
    return 1.0f;
}

float Envelope::rampDown(float t) const {
    if (t <= inStart) return 1.0f;
    if (t <= inStart + inLength) return 1.0f - (t - inStart) / inLength;
    return 0.0f;
}

float Envelope::fadeIn(float t, float phase, float shape) const {
    if (t <= inStart) return 0.0f;
    if (t > inStart + rampScale * inLength) return 1.0f;
    const float x = (t - inStart) / inLength;
    return atMostOne(ease(x, phase, shape));
}

float Envelope::fadeOut(float t, float phase, float shape) const {
    if (t <= inStart) return 1.0f;
    if (t > inStart + rampScale * inLength) return 0.0f;
    const float x = (t - inStart) / inLength;
    return atMostOne(ease(1.0f - x, phase, shape));
}

float Envelope::fadeInOut(float t, float phase, float shape) const {
    const float a = fadeIn(t, phase, shape);
    if (t <= outStart) return a;
    if (t > outStart + rampScale * outLength) return 0.0f;
    const float x = (t - outStart) / outLength;
    return atMostOne(ease(1.0f - x, phase, shape)) * a;
}

float angleOf(float y, float x) {
    if (x != 0.0f) {
        const float r = std::atan(y / x);
        return x > 0.0f ? r : r + kShowPi;
    }
    return y > 0.0f ? kShowHalfPi : -kShowHalfPi;
}

float fadeInOver(float t, float start, float length) {
    Envelope e;
    e.inStart = start;
    e.inLength = length;
    return e.fadeIn(t, 1.0f, 1.0f);
}

float fadeOutOver(float t, float start, float length) {
    Envelope e;
    e.inStart = start;
    e.inLength = length;
    return e.fadeOut(t, 1.0f, 1.0f);
}

float rampUpOver(float t, float start, float length) {
    Envelope e;
    e.inStart = start;
    e.inLength = length;
    return e.rampUp(t);
}

float fadeInOutOver(float t, float inStart, float inLength, float outStart, float outLength) {
    Envelope e;
    e.inStart = inStart;
    e.inLength = inLength;
    e.outStart = outStart;
    e.outLength = outLength;
    return e.fadeInOut(t, 1.0f, 1.0f);
}
