// Small notation helpers the score is written with: a tempo grid, note names, melodies as
// "E5:3 A5:1 -:2" strings and drum patterns as "X-x-o---" strings, one character per step.
#pragma once

#include "synth/Song.h"

#include <string_view>
#include <vector>

namespace score {

// A run of equal steps from an origin, in seconds.
struct Grid {
    double origin = 0.0;
    double step = 0.5;
    double at(double steps) const { return origin + step * steps; }
};

// "A4" -> 69, "C#3" -> 49, "Bb2" -> 46. Returns -1 for a rest ("-").
float pitchOf(std::string_view name);

void addNote(synth::Track& track, double start, double duration, float pitch, float velocity = 0.8f,
             float pan = 0.0f);
void addHit(synth::Track& track, double start, float velocity = 1.0f, float pan = 0.0f, float pitch = 60.0f);
void addChord(synth::Track& track, double start, double duration, const std::vector<float>& pitches,
              float velocity = 0.7f);

// Plays "name:steps" tokens one after the other from startStep; returns the step after the last.
// gate is the share of each step length the note is held.
double addMelody(synth::Track& track, const Grid& grid, double startStep, std::string_view text,
                 float velocity = 0.8f, float transpose = 0.0f, float gate = 0.92f);

// One character per step, repeated `repeats` times: X 1.0, x 0.8, o 0.6, . 0.35, - rest.
// Hits outside [from, to) seconds are dropped. swing delays every odd step by that share of a step.
void addPattern(synth::Track& track, const Grid& grid, double startStep, int repeats,
                std::string_view pattern, double from, double to, float velocityScale = 1.0f,
                float pitch = 60.0f, float pan = 0.0f, double swing = 0.0);

// Movement drawn on a whole track over [from, to]: each starts and ends at the track's resting
// value (0 dB, filter open), so the stretches between are untouched. Call in time order.
constexpr float openHz = 20000.0f;
void levelRamp(synth::Track& track, double from, double to, float startDb, float endDb);
void lowPassSweep(synth::Track& track, double from, double to, float startHz, float endHz);

// Lead-ins stop this long before the downbeat they lead to: a moment of air in front of the kick
// makes the hit land, and a riser still roaring over it would hide its attack.
constexpr double leadInGap = 0.08;
// A riser of `length` seconds that swells into `hit` and stops leadInGap short of it.
void addRiser(synth::Track& riser, double hit, double length, float velocity);

// Chord tones from a root: minor and major triads and sevenths, as MIDI numbers.
std::vector<float> minorChord(float root);
std::vector<float> majorChord(float root);
std::vector<float> minor7Chord(float root);
std::vector<float> major7Chord(float root);

} // namespace score
