// Attack-decay-sustain-release envelope driven sample by sample. The attack is linear, decay and
// release are exponential towards their targets, which is what ears expect of a synth.
#pragma once

namespace synth {

struct AdsrShape {
    float attack = 0.005f; // seconds
    float decay = 0.1f;    // seconds to fall most of the way (to 1/e^4) towards sustain
    float sustain = 1.0f;  // level 0..1
    float release = 0.1f;  // seconds to fall to 1/e^4
};

enum class AdsrStage { Idle, Attack, Decay, Sustain, Release };

struct Adsr {
    AdsrShape shape;
    AdsrStage stage = AdsrStage::Idle;
    float level = 0.0f;
    float attackStep = 0.0f;
    float decayCoef = 0.0f;
    float releaseCoef = 0.0f;

    explicit Adsr(const AdsrShape& s);
    void gateOn();
    void gateOff();
    float next();
    bool finished() const { return stage == AdsrStage::Idle; }
};

} // namespace synth
