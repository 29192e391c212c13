#include "synth/Dynamics.h"

#include "synth/Dsp.h"
#include "synth/Equalizer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>

namespace synth {

std::vector<float> duckingCurve(const std::vector<double>& triggers, const DuckSettings& s, size_t frames) {
    std::vector<float> curve(frames, 1.0f);
    const int attack = std::max(1, secondsToSamples(s.attack));
    const int length = attack + secondsToSamples(s.release * 1.5);
    const float releaseRate = 4.0f / std::max(1.0f, s.release * sampleRate);
    for (double t : triggers) {
        const int first = secondsToSamples(t) - attack; // fully down at the trigger itself
        for (int n = 0; n < length; ++n) {
            const int i = first + n;
            if (i < 0 || i >= static_cast<int>(frames)) continue;
            float reduction = 0.0f;
            if (n < attack) {
                reduction = s.depth * static_cast<float>(n) / attack;
            } else {
                // Smooth recovery: a raised-cosine start avoids a kink right after the kick.
                const float x = static_cast<float>(n - attack) * releaseRate;
                reduction = s.depth * std::exp(-x * x * 0.5f);
            }
            curve[static_cast<size_t>(i)] = std::min(curve[static_cast<size_t>(i)], 1.0f - reduction);
        }
    }
    return curve;
}

void applyGainCurve(StereoBuffer& buffer, const std::vector<float>& curve, size_t begin, size_t end) {
    const size_t n = std::min({buffer.frames(), curve.size(), end});
    for (size_t i = begin; i < n; ++i) {
        buffer.left[i] *= curve[i];
        buffer.right[i] *= curve[i];
    }
}

namespace {
constexpr int halfTaps = 4;
// Hann-windowed sinc taps for the three in-between phases of 4× oversampling.
std::array<std::array<float, 2 * halfTaps>, 3> interpolationTaps() {
    std::array<std::array<float, 2 * halfTaps>, 3> taps{};
    for (int p = 0; p < 3; ++p) {
        const double frac = (p + 1) * 0.25;
        for (int k = 0; k < 2 * halfTaps; ++k) {
            const double x =
                static_cast<double>(k - halfTaps + 1) - frac; // tap position relative to the point
            const double sinc = std::abs(x) < 1e-9 ? 1.0 : std::sin(M_PI * x) / (M_PI * x);
            const double window = 0.5 + 0.5 * std::cos(M_PI * x / (halfTaps + 0.5));
            taps[p][k] = static_cast<float>(sinc * window);
        }
    }
    return taps;
}
const std::array<std::array<float, 2 * halfTaps>, 3> kTaps = interpolationTaps();

float channelTruePeak(const std::vector<float>& x, size_t frame) {
    float peak = std::fabs(x[frame]);
    const long n = static_cast<long>(x.size());
    for (int p = 0; p < 3; ++p) {
        float v = 0.0f;
        for (int k = 0; k < 2 * halfTaps; ++k) {
            const long idx = static_cast<long>(frame) + k - halfTaps + 1;
            if (idx >= 0 && idx < n) v += kTaps[p][k] * x[static_cast<size_t>(idx)];
        }
        peak = std::max(peak, std::fabs(v));
    }
    return peak;
}
} // namespace

float truePeakAt(const StereoBuffer& buffer, size_t frame) {
    return std::max(channelTruePeak(buffer.left, frame), channelTruePeak(buffer.right, frame));
}

float maxTruePeakDb(const StereoBuffer& buffer) {
    float peak = 1e-9f;
    for (size_t i = 0; i < buffer.frames(); ++i) peak = std::max(peak, truePeakAt(buffer, i));
    return gainToDb(peak);
}

void applyLimiter(StereoBuffer& buffer, const LimiterSettings& s) {
    const size_t frames = buffer.frames();
    if (frames == 0) return;
    const float ceiling = dbToGain(s.ceilingDb);
    const int reach = std::max(1, secondsToSamples(s.lookAhead));
    std::vector<float> required(frames);
    for (size_t i = 0; i < frames; ++i) {
        const float peak = truePeakAt(buffer, i);
        required[i] = peak > ceiling ? ceiling / peak : 1.0f;
    }
    // Minimum over [i - reach, i + reach] with a monotonic queue: every frame within reach of a
    // peak gets at most that peak's gain.
    std::vector<float> windowMin(frames);
    std::deque<size_t> queue;
    for (size_t i = 0; i < frames + static_cast<size_t>(reach); ++i) {
        if (i < frames) {
            while (!queue.empty() && required[queue.back()] >= required[i]) queue.pop_back();
            queue.push_back(i);
        }
        if (i >= static_cast<size_t>(reach)) {
            const size_t centre = i - static_cast<size_t>(reach);
            while (queue.front() + 2 * static_cast<size_t>(reach) < i) queue.pop_front();
            windowMin[centre] = required[queue.front()];
        }
    }
    // Release: the gain only climbs back at a bounded rate, never above the window minimum.
    const float releaseCoef = std::exp(-4.0f / std::max(1.0f, s.release * sampleRate));
    float held = 1.0f;
    for (size_t i = 0; i < frames; ++i) {
        held = std::min(windowMin[i], 1.0f - (1.0f - held) * releaseCoef);
        windowMin[i] = held;
    }
    // A centred moving average of width 2 reach + 1 smooths the attack; each average only mixes
    // values that are already at or below the gain the centre frame needs.
    double sum = 0.0;
    const long r = reach;
    const long n = static_cast<long>(frames);
    auto at = [&](long i) {
        return i < 0 || i >= n ? 1.0 : static_cast<double>(windowMin[static_cast<size_t>(i)]);
    };
    for (long i = -r; i <= r; ++i) sum += at(i);
    for (long i = 0; i < n; ++i) {
        const float g = static_cast<float>(sum / (2 * r + 1));
        buffer.left[static_cast<size_t>(i)] *= g;
        buffer.right[static_cast<size_t>(i)] *= g;
        sum += at(i + r + 1) - at(i - r);
    }
}

namespace {
// The two K-weighting stages (high shelf, then high pass) designed for any sample rate from
// their analogue prototypes.
std::array<Biquad, 2> kWeighting(double rate) {
    std::array<Biquad, 2> stages{};
    {
        const double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
        const double k = std::tan(M_PI * f0 / rate);
        const double vh = std::pow(10.0, gainDb / 20.0);
        const double vb = std::pow(vh, 0.4996667741545416);
        const double a0 = 1.0 + k / q + k * k;
        stages[0].b0 = (vh + vb * k / q + k * k) / a0;
        stages[0].b1 = 2.0 * (k * k - vh) / a0;
        stages[0].b2 = (vh - vb * k / q + k * k) / a0;
        stages[0].a1 = 2.0 * (k * k - 1.0) / a0;
        stages[0].a2 = (1.0 - k / q + k * k) / a0;
    }
    {
        const double f0 = 38.13547087602444, q = 0.5003270373238773;
        const double k = std::tan(M_PI * f0 / rate);
        const double a0 = 1.0 + k / q + k * k;
        stages[1].b0 = 1.0;
        stages[1].b1 = -2.0;
        stages[1].b2 = 1.0;
        stages[1].a1 = 2.0 * (k * k - 1.0) / a0;
        stages[1].a2 = (1.0 - k / q + k * k) / a0;
    }
    return stages;
}
} // namespace

double integratedLoudness(const StereoBuffer& buffer) {
    auto left = kWeighting(sampleRate);
    auto right = kWeighting(sampleRate);
    const size_t hop = static_cast<size_t>(sampleRate / 10); // 100 ms
    std::vector<double> hopEnergy;
    double acc = 0.0;
    size_t count = 0;
    for (size_t i = 0; i < buffer.frames(); ++i) {
        const double l = left[1].process(left[0].process(buffer.left[i]));
        const double r = right[1].process(right[0].process(buffer.right[i]));
        acc += l * l + r * r;
        if (++count == hop) {
            hopEnergy.push_back(acc / static_cast<double>(hop));
            acc = 0.0;
            count = 0;
        }
    }
    // 400 ms blocks overlapping by 75 %.
    std::vector<double> blocks;
    for (size_t b = 0; b + 4 <= hopEnergy.size(); ++b)
        blocks.push_back((hopEnergy[b] + hopEnergy[b + 1] + hopEnergy[b + 2] + hopEnergy[b + 3]) * 0.25);
    auto loudnessOf = [](double energy) { return -0.691 + 10.0 * std::log10(std::max(energy, 1e-30)); };
    auto gatedMean = [&](double gate) {
        double sum = 0.0;
        size_t n = 0;
        for (double e : blocks)
            if (loudnessOf(e) > gate) {
                sum += e;
                ++n;
            }
        return n == 0 ? 0.0 : sum / static_cast<double>(n);
    };
    const double absoluteGated = gatedMean(-70.0);
    if (absoluteGated <= 0.0) return -70.0;
    return loudnessOf(gatedMean(loudnessOf(absoluteGated) - 10.0));
}

namespace {
// One-pole smoothing coefficient that covers 1/e of a step in the given time.
float smoothing(float seconds) { return std::exp(-1.0f / std::max(1.0f, seconds * sampleRate)); }
} // namespace

void applyCompressor(StereoBuffer& buffer, const CompressorSettings& s, size_t begin, size_t end) {
    end = std::min(end, buffer.frames());
    const float attack = smoothing(s.attack);
    const float release = smoothing(s.release);
    const float slope = 1.0f - 1.0f / std::max(1.0f, s.ratio);
    const float halfKnee = std::max(0.0f, s.kneeDb) * 0.5f;
    const float makeup = dbToGain(s.makeupDb);
    // The detector holds peaks over a bass cycle, so the gain follows the signal's envelope and
    // not every zero crossing of its waveform.
    const float peakFall = smoothing(0.03f);
    float level = 0.0f;
    float reductionDb = 0.0f;
    for (size_t i = begin; i < end; ++i) {
        // Stereo-linked: both sides get the same gain, so the image does not wander.
        const float input = std::max(std::fabs(buffer.left[i]), std::fabs(buffer.right[i]));
        level = std::max(input, level * peakFall);
        const float over = gainToDb(std::max(level, 1e-9f)) - s.thresholdDb;
        float wanted = 0.0f;
        if (over >= halfKnee) {
            wanted = slope * over;
        } else if (over > -halfKnee) {
            const float x = over + halfKnee;
            wanted = slope * x * x / (4.0f * halfKnee);
        }
        // The attack lets the first milliseconds of a hit through before the gain comes down:
        // that is the punch the compressor keeps.
        const float coef = wanted > reductionDb ? attack : release;
        reductionDb = wanted + (reductionDb - wanted) * coef;
        const float g = dbToGain(-reductionDb) * makeup;
        const float wet = s.mix;
        buffer.left[i] *= (1.0f - wet) + wet * g;
        buffer.right[i] *= (1.0f - wet) + wet * g;
    }
}

void applyTransientShaper(StereoBuffer& buffer, const TransientSettings& s, size_t begin, size_t end) {
    end = std::min(end, buffer.frames());
    // A fast and a slow follower of the same level: where the fast one leads, a hit is starting.
    const float fastAttack = smoothing(0.0005f);
    const float slowAttack = smoothing(0.02f);
    const float fall = smoothing(0.08f);
    float fast = 0.0f;
    float slow = 0.0f;
    float lastGainDb = 0.0f;
    const float rangeDb = std::max(std::fabs(s.attackDb), std::fabs(s.sustainDb)) + 1.0f;
    for (size_t i = begin; i < end; ++i) {
        const float level = std::max(std::fabs(buffer.left[i]), std::fabs(buffer.right[i]));
        fast = level + (fast - level) * (level > fast ? fastAttack : fall);
        slow = level + (slow - level) * (level > slow ? slowAttack : fall);
        // 0 in a steady tone, 1 at the leading edge of a hit.
        const float edge = fast > 1e-6f ? std::clamp((fast - slow) / fast, 0.0f, 1.0f) : 0.0f;
        float gainDb = edge * s.attackDb + (1.0f - edge) * s.sustainDb;
        gainDb = std::clamp(gainDb, lastGainDb - 0.05f * rangeDb, lastGainDb + 0.05f * rangeDb);
        lastGainDb = gainDb;
        const float g = dbToGain(gainDb);
        buffer.left[i] *= g;
        buffer.right[i] *= g;
    }
}

} // namespace synth
