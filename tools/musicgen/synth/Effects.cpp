#include "synth/Effects.h"

#include "synth/Dsp.h"
#include "synth/Equalizer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace synth {

void applyDelay(StereoBuffer& buffer, const DelaySettings& s) { applyDelay(buffer, s, {}); }

void applyDelay(StereoBuffer& buffer, const DelaySettings& s, const std::vector<DelayChange>& changes) {
    float longest = std::max(s.timeLeft, s.timeRight);
    for (const DelayChange& c : changes) longest = std::max({longest, c.timeLeft, c.timeRight});
    const size_t size = static_cast<size_t>(secondsToSamples(longest)) + 2;
    std::vector<float> lineL(size, 0.0f);
    std::vector<float> lineR(size, 0.0f);
    size_t lagL = static_cast<size_t>(std::max(1, secondsToSamples(s.timeLeft)));
    size_t lagR = static_cast<size_t>(std::max(1, secondsToSamples(s.timeRight)));
    size_t nextChange = 0;
    size_t pos = 0;
    const float damp = std::exp(-twoPi * s.dampingHz / sampleRate);
    float lowL = 0.0f;
    float lowR = 0.0f;
    const float fb = std::clamp(s.feedback, 0.0f, 0.95f);
    for (size_t i = 0; i < buffer.frames(); ++i) {
        while (nextChange < changes.size() &&
               secondsToSamples(changes[nextChange].at) <= static_cast<int>(i)) {
            lagL = static_cast<size_t>(std::max(1, secondsToSamples(changes[nextChange].timeLeft)));
            lagR = static_cast<size_t>(std::max(1, secondsToSamples(changes[nextChange].timeRight)));
            ++nextChange;
        }
        const float outL = lineL[(pos + size - lagL) % size];
        const float outR = lineR[(pos + size - lagR) % size];
        lowL = outL + (lowL - outL) * damp;
        lowR = outR + (lowR - outR) * damp;
        lineL[pos] = buffer.left[i] + fb * ((1.0f - s.cross) * lowL + s.cross * lowR);
        lineR[pos] = buffer.right[i] + fb * ((1.0f - s.cross) * lowR + s.cross * lowL);
        buffer.left[i] = outL;
        buffer.right[i] = outR;
        if (++pos == size) pos = 0;
    }
}

namespace {
// Schroeder-Moorer network in the Freeverb layout: eight damped combs in parallel, four
// all-passes in series, the right channel's lines a little longer for width.
constexpr std::array<int, 8> combTuning = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr std::array<int, 4> allPassTuning = {556, 441, 341, 225};
constexpr int stereoSpread = 23;

struct Comb {
    std::vector<float> line;
    size_t pos = 0;
    float low = 0.0f;
    float process(float x, float feedback, float damp) {
        const float out = line[pos];
        low = out * (1.0f - damp) + low * damp;
        line[pos] = x + low * feedback;
        if (++pos == line.size()) pos = 0;
        return out;
    }
};

struct AllPass {
    std::vector<float> line;
    size_t pos = 0;
    float process(float x) {
        const float delayed = line[pos];
        const float out = delayed - x;
        line[pos] = x + delayed * 0.5f;
        if (++pos == line.size()) pos = 0;
        return out;
    }
};

struct ReverbChannel {
    std::array<Comb, 8> combs;
    std::array<AllPass, 4> allPasses;
    explicit ReverbChannel(int spread) {
        for (size_t c = 0; c < combs.size(); ++c) combs[c].line.assign(combTuning[c] + spread, 0.0f);
        for (size_t a = 0; a < allPasses.size(); ++a)
            allPasses[a].line.assign(allPassTuning[a] + spread, 0.0f);
    }
    float process(float x, float feedback, float damp) {
        float sum = 0.0f;
        for (Comb& c : combs) sum += c.process(x, feedback, damp);
        for (AllPass& a : allPasses) sum = a.process(sum);
        return sum;
    }
};
} // namespace

void applyReverb(StereoBuffer& buffer, const ReverbSettings& s) {
    ReverbChannel left(0);
    ReverbChannel right(stereoSpread);
    const float feedback = 0.7f + 0.28f * std::clamp(s.roomSize, 0.0f, 1.0f);
    const float damp = 0.4f * std::clamp(s.damping, 0.0f, 1.0f);
    const float wet1 = 0.5f * (1.0f + s.width);
    const float wet2 = 0.5f * (1.0f - s.width);
    const size_t pre = static_cast<size_t>(std::max(1, secondsToSamples(s.preDelay)));
    std::vector<float> preLine(pre, 0.0f);
    size_t prePos = 0;
    // Input gain as Freeverb: the combs sum eight ways.
    constexpr float inputGain = 0.015f;
    for (size_t i = 0; i < buffer.frames(); ++i) {
        const float in = preLine[prePos];
        preLine[prePos] = (buffer.left[i] + buffer.right[i]) * inputGain;
        if (++prePos == pre) prePos = 0;
        const float l = left.process(in, feedback, damp);
        const float r = right.process(in, feedback, damp);
        buffer.left[i] = l * wet1 + r * wet2;
        buffer.right[i] = r * wet1 + l * wet2;
    }
}

void applyChorus(StereoBuffer& buffer, const ChorusSettings& s, size_t begin, size_t end) {
    end = std::min(end, buffer.frames());
    const int maxDelay = secondsToSamples((s.baseMs + s.depthMs) * 0.001) + 4;
    std::vector<float> lineL(static_cast<size_t>(maxDelay), 0.0f);
    std::vector<float> lineR(static_cast<size_t>(maxDelay), 0.0f);
    size_t pos = 0;
    float phase = 0.0f;
    const float increment = s.rateHz / sampleRate;
    const float base = s.baseMs * 0.001f * sampleRate;
    const float depth = s.depthMs * 0.001f * sampleRate;
    auto tap = [&](const std::vector<float>& line, float delay) {
        float readPos = static_cast<float>(pos) - delay;
        while (readPos < 0.0f) readPos += static_cast<float>(line.size());
        const size_t i0 = static_cast<size_t>(readPos);
        const size_t i1 = (i0 + 1) % line.size();
        const float frac = readPos - static_cast<float>(i0);
        return line[i0] + (line[i1] - line[i0]) * frac;
    };
    for (size_t i = begin; i < end; ++i) {
        lineL[pos] = buffer.left[i];
        lineR[pos] = buffer.right[i];
        // Quadrature LFOs: the two sides never move together, which is where the width comes from.
        const float dl = base + depth * 0.5f * (1.0f + std::sin(twoPi * phase));
        const float dr = base + depth * 0.5f * (1.0f + std::cos(twoPi * phase));
        const float wetL = tap(lineL, dl);
        const float wetR = tap(lineR, dr);
        buffer.left[i] = buffer.left[i] * (1.0f - s.mix) + wetL * s.mix;
        buffer.right[i] = buffer.right[i] * (1.0f - s.mix) + wetR * s.mix;
        phase += increment;
        if (phase >= 1.0f) phase -= 1.0f;
        if (++pos == lineL.size()) pos = 0;
    }
}

void applyFilterSweep(StereoBuffer& buffer, const Automation& cutoffHz, FilterMode mode, float resonance,
                      size_t begin, size_t end) {
    end = std::min(end, buffer.frames());
    if (cutoffHz.empty()) return;
    // Same control rate as the voices: per-sample tan() buys nothing audible.
    constexpr size_t controlBlock = 32;
    Svf left;
    Svf right;
    for (size_t i = begin; i < end; ++i) {
        if ((i - begin) % controlBlock == 0) {
            const float hz = cutoffHz.geometricAt(static_cast<double>(i) / sampleRate);
            left.set(hz, resonance);
            right.set(hz, resonance);
        }
        buffer.left[i] = left.process(buffer.left[i], mode);
        buffer.right[i] = right.process(buffer.right[i], mode);
    }
}

void monoBelow(StereoBuffer& buffer, float hz) {
    if (hz <= 0.0f) return;
    // A Linkwitz-Riley split (two Butterworth sections per side of the crossover) of both the sum
    // and the difference. Low and high halves add up to an all-pass, so the sum keeps every
    // frequency at its level, and the sides above the crossover pass through the same all-pass as
    // the sum: the image there does not move. A plain high-pass on the difference alone would
    // shift its phase against the sum and leak one side's treble into the other.
    const Biquad lowPass = designBand({EqShape::HighCut, hz, 0.0f, 0.7071f});
    const Biquad highPass = designBand({EqShape::LowCut, hz, 0.0f, 0.7071f});
    Biquad midLow[2] = {lowPass, lowPass};
    Biquad midHigh[2] = {highPass, highPass};
    Biquad sideHigh[2] = {highPass, highPass};
    for (size_t i = 0; i < buffer.frames(); ++i) {
        const double mid = 0.5 * (static_cast<double>(buffer.left[i]) + buffer.right[i]);
        const double side = 0.5 * (static_cast<double>(buffer.left[i]) - buffer.right[i]);
        const double m =
            midLow[1].process(midLow[0].process(mid)) + midHigh[1].process(midHigh[0].process(mid));
        const double sd = sideHigh[1].process(sideHigh[0].process(side));
        buffer.left[i] = static_cast<float>(m + sd);
        buffer.right[i] = static_cast<float>(m - sd);
    }
}

} // namespace synth
