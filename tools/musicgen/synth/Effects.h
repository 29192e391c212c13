// Buffer effects applied to whole tracks or buses: stereo ping-pong delay, plate-like reverb,
// chorus, a swept filter and a low-frequency mono fold. Each runs over a StereoBuffer in place;
// delay and reverb return wet only, the mixer sets the balance.
#pragma once

#include "synth/Automation.h"
#include "synth/StereoBuffer.h"
#include "synth/Svf.h"

#include <vector>

namespace synth {

struct DelaySettings {
    float timeLeft = 0.375f; // seconds
    float timeRight = 0.5f;  // seconds
    float feedback = 0.4f;   // 0..0.95
    float cross = 0.5f;      // share of the feedback sent to the other side (ping-pong)
    float dampingHz = 4000.0f;
};

// From `at` seconds on, the delay repeats after these times (to follow a change of tempo).
struct DelayChange {
    double at = 0.0;
    float timeLeft = 0.375f;
    float timeRight = 0.5f;
};

struct ReverbSettings {
    float roomSize = 0.8f; // 0..1, longer tails towards 1
    float damping = 0.4f;  // 0..1, darker tails towards 1
    float width = 1.0f;
    float preDelay = 0.02f; // seconds
};

struct ChorusSettings {
    float rateHz = 0.6f;
    float depthMs = 3.0f;
    float baseMs = 12.0f;
    float mix = 0.5f; // wet share; chorus returns dry + wet
};

// Replaces the buffer by the delay's echoes (no dry signal).
void applyDelay(StereoBuffer& buffer, const DelaySettings& settings);
// The same with the delay times switched at the given moments (sorted by time); the settings'
// own times hold until the first change.
void applyDelay(StereoBuffer& buffer, const DelaySettings& settings, const std::vector<DelayChange>& changes);
// Replaces the buffer by the reverb's tail (no dry signal).
void applyReverb(StereoBuffer& buffer, const ReverbSettings& settings);
// Mixes a modulated copy into the buffer (dry stays).
void applyChorus(StereoBuffer& buffer, const ChorusSettings& settings, size_t begin = 0,
                 size_t end = static_cast<size_t>(-1));

// A resonant low- or high-pass whose cutoff (Hz) follows the automation over frames
// [begin, end), each frame at its own time in the piece.
void applyFilterSweep(StereoBuffer& buffer, const Automation& cutoffHz, FilterMode mode, float resonance,
                      size_t begin = 0, size_t end = static_cast<size_t>(-1));
// Removes the difference between the sides below `hz` (24 dB per octave) and keeps the sum's
// level at every frequency: the lows play the same from both speakers and survive a mono fold-down.
void monoBelow(StereoBuffer& buffer, float hz);

} // namespace synth
