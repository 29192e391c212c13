#include "synth/Adsr.h"

#include "synth/Dsp.h"

#include <cmath>

namespace synth {

namespace {
// Per-sample multiplier that covers 4 time constants in the given time.
float fallCoefficient(float seconds) {
    const float samples = seconds * static_cast<float>(sampleRate);
    return samples < 1.0f ? 0.0f : std::exp(-4.0f / samples);
}
// Below this a released envelope counts as silent (-100 dB).
constexpr float silence = 1e-5f;
} // namespace

Adsr::Adsr(const AdsrShape& s)
    : shape(s), attackStep(1.0f / std::fmax(1.0f, s.attack * static_cast<float>(sampleRate))),
      decayCoef(fallCoefficient(s.decay)), releaseCoef(fallCoefficient(s.release)) {}

void Adsr::gateOn() { stage = AdsrStage::Attack; }

void Adsr::gateOff() {
    if (stage != AdsrStage::Idle) stage = AdsrStage::Release;
}

float Adsr::next() {
    switch (stage) {
    case AdsrStage::Idle:
        level = 0.0f;
        break;
    case AdsrStage::Attack:
        level += attackStep;
        if (level >= 1.0f) {
            level = 1.0f;
            stage = AdsrStage::Decay;
        }
        break;
    case AdsrStage::Decay:
        level = shape.sustain + (level - shape.sustain) * decayCoef;
        if (level - shape.sustain < 1e-4f) {
            level = shape.sustain;
            stage = AdsrStage::Sustain;
        }
        break;
    case AdsrStage::Sustain:
        level = shape.sustain;
        break;
    case AdsrStage::Release:
        level *= releaseCoef;
        if (level < silence) {
            level = 0.0f;
            stage = AdsrStage::Idle;
        }
        break;
    }
    return level;
}

} // namespace synth
