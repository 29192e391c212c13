#include "synth/Oscillator.h"

#include <cmath>

namespace synth {

float Oscillator::next(Waveform wave, float increment, Rng& rng, float fmRatio, float fmIndex) {
    float out = 0.0f;
    switch (wave) {
    case Waveform::Sine:
        out = std::sin(twoPi * phase);
        break;
    case Waveform::Saw:
        out = 2.0f * phase - 1.0f - polyBlep(phase, increment);
        break;
    case Waveform::Square:
    case Waveform::Triangle: {
        float half = phase + 0.5f;
        if (half >= 1.0f) half -= 1.0f;
        const float square =
            (phase < 0.5f ? 1.0f : -1.0f) + polyBlep(phase, increment) - polyBlep(half, increment);
        if (wave == Waveform::Square) {
            out = square;
        } else {
            triState = 4.0f * increment * square + (1.0f - 0.001f) * triState;
            out = triState;
        }
        break;
    }
    case Waveform::Noise:
        out = rng.nextBipolar();
        break;
    case Waveform::Fm: {
        const float modulator = std::sin(twoPi * modPhase);
        out = std::sin(twoPi * phase + fmIndex * modulator);
        modPhase += increment * fmRatio;
        modPhase -= std::floor(modPhase);
        break;
    }
    }
    phase += increment;
    if (phase >= 1.0f) phase -= 1.0f;
    return out;
}

} // namespace synth
