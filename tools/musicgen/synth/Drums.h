// Synthesized percussion: each hit is rendered whole from a DrumPatch, like a note. A reversed
// patch plays its hit backwards so that it swells into the given time instead of starting there.
#pragma once

#include "synth/StereoBuffer.h"

#include <cstdint>

namespace synth {

enum class DrumKind { Kick, Snare, Hat, Clap, Tom, Crash, Riser };

struct DrumPatch {
    DrumKind kind = DrumKind::Kick;
    float pitchHz = 50.0f;    // body pitch the sweep ends at (kick, tom, snare tone)
    float sweepHz = 200.0f;   // extra pitch at the start of the hit
    float sweepTime = 0.04f;  // seconds for the sweep to fall to 1/e
    float decay = 0.4f;       // seconds for the body to fall by 60 dB
    float noiseDecay = 0.15f; // seconds for the noise part to fall by 60 dB
    float noiseLevel = 0.5f;  // noise against body (snare, clap, hat use mostly noise)
    float toneHz = 8000.0f;   // noise filter centre or corner
    float click = 0.3f;       // transient level at the very start
    float clickHz = 3500.0f;  // centre of the transient's band: where the beater's knock sits
    float drive = 0.0f;       // tanh saturation
    float length = 0.0f;      // riser: seconds of the sweep up
    float width = 0.0f;       // stereo decorrelation of the noise part, 0..1
    float gain = 0.8f;
    bool reversed = false; // the hit ends at its start time, attack last
};

// Seconds a hit of this patch sounds, from its start to the end of its longest tail.
float drumLength(const DrumPatch& patch);

void renderDrum(const DrumPatch& patch, double start, float velocity, float pan, uint32_t seed,
                StereoBuffer& out);

} // namespace synth
