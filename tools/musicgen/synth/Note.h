// One event of a score: which pitch, when, how long and how hard.
#pragma once

namespace synth {

struct Note {
    double start = 0.0;     // seconds from the start of the piece
    float duration = 0.25f; // seconds the gate is held
    float pitch = 60.0f;    // MIDI note number, fractional allowed
    float velocity = 1.0f;  // 0..1
    float pan = 0.0f;       // -1 left .. 1 right
};

} // namespace synth
