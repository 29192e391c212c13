// The seven-eight theme the title states and the closing brings back: an eight-bar cycle of
// A minor, F, C and G, two bars each, in bars of seven eighths grouped four plus three.
#pragma once

#include "score/Writer.h"

#include <vector>

namespace score {

constexpr int themeBarSteps = 7;

// Root of the chord under bar `bar` of the cycle (MIDI, bass octave) and whether it is minor.
float themeRoot(int bar);
bool themeMinor(int bar);
std::vector<float> themeChord(int bar); // voiced for pads, around middle C

// Melody of bars [firstBar, firstBar + bars) of the eight-bar cycle, on a grid of eighths.
void addThemeMelody(synth::Track& track, const Grid& grid, int firstBar, int bars, float velocity,
                    float transpose = 0.0f);
// The bass figure (root, root, octave, root, fifth) for the given bars.
void addThemeBass(synth::Track& bass, synth::Track& sub, const Grid& grid, int firstBar, int bars,
                  float velocity);
// Pluck arpeggio through the chord, one tone per eighth.
void addThemeArpeggio(synth::Track& track, const Grid& grid, int firstBar, int bars, float velocity);
// Pad chords, two bars each, from `firstBar` (must be even) for `bars` bars.
void addThemePads(synth::Track& pad, const Grid& grid, int firstBar, int bars, float velocity);

} // namespace score
