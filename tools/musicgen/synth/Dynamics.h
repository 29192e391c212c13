// Level control: sidechain ducking driven by known trigger times, a compressor and a transient
// shaper, a look-ahead limiter with a hard ceiling on inter-sample peaks, and the integrated
// loudness that sets the master gain.
#pragma once

#include "synth/StereoBuffer.h"

#include <vector>

namespace synth {

struct DuckSettings {
    float depth = 0.5f;    // gain reduction at the trigger, 0..1
    float attack = 0.004f; // seconds to reach full reduction
    float release = 0.25f; // seconds to recover
};

// Gain curve, one value per frame, that dips at each trigger time (seconds) and recovers. Ducking
// from the score's own kick times instead of a detector keeps it exact and free of pumping lag.
std::vector<float> duckingCurve(const std::vector<double>& triggers, const DuckSettings& settings,
                                size_t frames);
void applyGainCurve(StereoBuffer& buffer, const std::vector<float>& curve, size_t begin = 0,
                    size_t end = static_cast<size_t>(-1));

struct LimiterSettings {
    float ceilingDb = -2.3f;  // on the estimated true peak; MP3 encoding overshoots kicks by ~1 dB
    float lookAhead = 0.002f; // seconds; also the attack time
    float release = 0.08f;    // seconds to recover
};

// The highest sample of 4× band-limited interpolation around each frame, per channel max.
float truePeakAt(const StereoBuffer& buffer, size_t frame);
// Brick-wall limits the buffer in place: no estimated true peak above the ceiling.
void applyLimiter(StereoBuffer& buffer, const LimiterSettings& settings);
float maxTruePeakDb(const StereoBuffer& buffer);

// Integrated loudness in LUFS (K-weighted, 400 ms blocks, absolute and relative gates).
double integratedLoudness(const StereoBuffer& buffer);

struct CompressorSettings {
    float thresholdDb = -18.0f;
    float ratio = 2.0f;
    float attack = 0.02f;  // seconds; slow enough to let a kick's first cycle through
    float release = 0.15f; // seconds
    float kneeDb = 6.0f;
    float makeupDb = 0.0f;
    float mix = 1.0f; // share of the compressed signal; below 1 is parallel compression
};

// Feed-forward, stereo-linked, soft-knee compression in place over frames [begin, end).
void applyCompressor(StereoBuffer& buffer, const CompressorSettings& settings, size_t begin = 0,
                     size_t end = static_cast<size_t>(-1));

struct TransientSettings {
    float attackDb = 0.0f;  // gain at the leading edge of a hit
    float sustainDb = 0.0f; // gain once the level has settled
};

// Reshapes hits without a threshold: edges louder, bodies and tails quieter (or the reverse).
void applyTransientShaper(StereoBuffer& buffer, const TransientSettings& settings, size_t begin = 0,
                          size_t end = static_cast<size_t>(-1));

} // namespace synth
