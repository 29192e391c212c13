#include "synth/Drums.h"

#include "synth/Dsp.h"
#include "synth/Svf.h"

#include <algorithm>
#include <cmath>

namespace synth {

namespace {
// Per-sample multiplier that falls 60 dB in the given time.
float decay60(float seconds) { return std::exp(-6.9078f / std::max(1.0f, seconds * sampleRate)); }

struct PanGains {
    float left = 0.707f;
    float right = 0.707f;
};
PanGains panGains(float pan) {
    const float angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0f) * 0.25f * pi;
    return {std::cos(angle), std::sin(angle)};
}

// The beater's knock: noise in a band around clickHz under a 0.4 ms rise and a 1.5 ms fall. White
// noise at full level straight from the first sample jumps by most of full scale between two
// samples, which is heard as a click rather than as the front of the drum.
struct Click {
    Svf band;
    float level = 0.0f;
    float rise = 0.0f;
    float fall = 0.0f;
    int riseSamples = 1;
    Click(float hz, float peak) : level(peak) {
        band.set(hz, 0.2f);
        riseSamples = std::max(1, secondsToSamples(0.0004));
        fall = std::exp(-1.0f / (0.0015f * sampleRate));
    }
    float next(float white, int n) {
        // The band-pass gives back about a third of white noise's level; restore it.
        const float s = band.process(white, FilterMode::BandPass) * 3.0f;
        if (n < riseSamples) {
            const float x = static_cast<float>(n) / static_cast<float>(riseSamples);
            return s * level * x * x * (3.0f - 2.0f * x);
        }
        level *= fall;
        return s * level;
    }
};

void renderForward(const DrumPatch& patch, int first, float velocity, float pan, uint32_t seed,
                   StereoBuffer& out);
} // namespace

float drumLength(const DrumPatch& patch) {
    return std::max({patch.decay, patch.noiseDecay, patch.length}) + 0.05f;
}

void renderDrum(const DrumPatch& patch, double start, float velocity, float pan, uint32_t seed,
                StereoBuffer& out) {
    if (!patch.reversed) {
        renderForward(patch, secondsToSamples(start), velocity, pan, seed, out);
        return;
    }
    // Render the hit on its own, then lay it down backwards so that its last sample lands just
    // before the start time.
    const int length = secondsToSamples(drumLength(patch));
    StereoBuffer hit(static_cast<size_t>(length));
    renderForward(patch, 0, velocity, pan, seed, hit);
    const int end = secondsToSamples(start);
    // The hit's attack becomes the swell's last moment; 3 ms of fade keep its edge from clicking.
    const int fade = std::max(1, secondsToSamples(0.003));
    for (int n = 0; n < length; ++n) {
        const int i = end - 1 - n;
        if (i < 0) break;
        if (i >= static_cast<int>(out.frames())) continue;
        const float g = n < fade ? static_cast<float>(n) / static_cast<float>(fade) : 1.0f;
        out.left[static_cast<size_t>(i)] += hit.left[static_cast<size_t>(n)] * g;
        out.right[static_cast<size_t>(i)] += hit.right[static_cast<size_t>(n)] * g;
    }
}

namespace {
void renderForward(const DrumPatch& patch, int first, float velocity, float pan, uint32_t seed,
                   StereoBuffer& out) {
    if (first >= static_cast<int>(out.frames()) || first < 0) return;
    const int last = std::min(static_cast<int>(out.frames()), first + secondsToSamples(drumLength(patch)));

    Rng rng(seed);
    Rng rngSide(seed ^ 0x5bd1e995u);
    Svf noiseFilterL;
    Svf noiseFilterR;
    Svf noiseHigh;
    const PanGains pg = panGains(pan);
    const float bodyCoef = decay60(patch.decay);
    const float noiseCoef = decay60(patch.noiseDecay);
    const float sweepCoef = std::exp(-1.0f / std::max(1.0f, patch.sweepTime * sampleRate));
    const float gain = patch.gain * velocity;

    switch (patch.kind) {
    case DrumKind::Snare:
        // The wires' top: white noise up to the Nyquist frequency steps by most of its range
        // from one sample to the next, which is a hiss and a click, not a snare.
        noiseFilterL.set(patch.toneHz, 0.1f);
        noiseFilterR.set(patch.toneHz, 0.1f);
        break;
    case DrumKind::Tom:
    case DrumKind::Clap:
        noiseFilterL.set(patch.toneHz, 0.35f);
        noiseFilterR.set(patch.toneHz, 0.35f);
        break;
    case DrumKind::Hat:
    case DrumKind::Crash:
        noiseFilterL.set(patch.toneHz, 0.1f);
        noiseFilterR.set(patch.toneHz, 0.1f);
        break;
    default:
        noiseFilterL.set(patch.toneHz, 0.0f);
        noiseFilterR.set(patch.toneHz, 0.0f);
        break;
    }
    noiseHigh.set(300.0f, 0.0f);

    float body = 1.0f;
    float noiseEnv = 1.0f;
    float sweep = patch.sweepHz;
    Click click(patch.clickHz, patch.click);
    float phase = 0.0f;
    float metalPhase[6] = {0, 0, 0, 0, 0, 0};
    // Ratios of the classic six-square metallic cluster, scaled by toneHz / 8000.
    const float metalHz[6] = {205.3f, 304.4f, 369.6f, 522.7f, 540.0f, 800.0f};
    const int lengthSamples = std::max(1, secondsToSamples(patch.length));

    for (int i = first, n = 0; i < last; ++i, ++n) {
        const float white = rng.nextBipolar();
        const float whiteSide = patch.width > 0.0f ? rngSide.nextBipolar() : white;
        float mono = 0.0f;
        float noiseL = 0.0f;
        float noiseR = 0.0f;
        switch (patch.kind) {
        case DrumKind::Kick:
        case DrumKind::Tom: {
            const float hz = patch.pitchHz + sweep;
            phase += hz / sampleRate;
            if (phase >= 1.0f) phase -= 1.0f;
            float tone = std::sin(twoPi * phase) * body;
            if (patch.drive > 0.0f)
                tone = std::tanh(tone * (1.0f + 3.0f * patch.drive)) / (1.0f + patch.drive);
            mono = tone + click.next(white, n);
            const float nz = noiseFilterL.process(white, FilterMode::BandPass) * noiseEnv * patch.noiseLevel;
            noiseL = noiseR = nz;
            break;
        }
        case DrumKind::Snare: {
            const float hz = patch.pitchHz + sweep;
            phase += hz / sampleRate;
            if (phase >= 1.0f) phase -= 1.0f;
            mono = (std::sin(twoPi * phase) + 0.3f * std::sin(2.0f * twoPi * phase)) * body *
                   (1.0f - patch.noiseLevel);
            const float wiresL = noiseHigh.process(white, FilterMode::HighPass);
            const float wiresR =
                patch.width > 0.0f ? (1.0f - patch.width) * wiresL + patch.width * whiteSide * 0.5f : wiresL;
            noiseL = noiseFilterL.process(wiresL, FilterMode::LowPass) * noiseEnv * patch.noiseLevel;
            noiseR = noiseFilterR.process(wiresR, FilterMode::LowPass) * noiseEnv * patch.noiseLevel;
            mono += click.next(white, n);
            break;
        }
        case DrumKind::Clap: {
            // Three quick bursts 11 ms apart, then the tail: a hand clap is several hands.
            const float t = static_cast<float>(n) / sampleRate;
            float burst = 0.0f;
            for (int b = 0; b < 3; ++b) {
                const float tb = t - 0.011f * b;
                if (tb >= 0.0f && tb < 0.011f) burst = std::exp(-tb * 300.0f);
            }
            const float env = std::max(burst, t >= 0.022f ? noiseEnv : 0.0f);
            noiseL = noiseFilterL.process(white, FilterMode::BandPass) * env * 2.0f;
            noiseR = noiseFilterR.process(whiteSide, FilterMode::BandPass) * env * 2.0f;
            break;
        }
        case DrumKind::Hat:
        case DrumKind::Crash: {
            float metal = 0.0f;
            const float scale = patch.toneHz / 8000.0f;
            for (int m = 0; m < 6; ++m) {
                metalPhase[m] += metalHz[m] * 8.0f * scale / sampleRate;
                metalPhase[m] -= std::floor(metalPhase[m]);
                metal += metalPhase[m] < 0.5f ? 1.0f : -1.0f;
            }
            const float srcL = (1.0f - patch.noiseLevel) * metal / 6.0f + patch.noiseLevel * white;
            const float srcR = (1.0f - patch.noiseLevel) * metal / 6.0f + patch.noiseLevel * whiteSide;
            noiseL = noiseFilterL.process(srcL, FilterMode::HighPass) * noiseEnv;
            noiseR = noiseFilterR.process(srcR, FilterMode::HighPass) * noiseEnv;
            break;
        }
        case DrumKind::Riser: {
            // Noise swept upwards through a resonant band-pass, swelling to the hit at its end.
            const float p = std::min(1.0f, static_cast<float>(n) / lengthSamples);
            if (n % 16 == 0) {
                const float fc = patch.pitchHz * std::exp2(p * 6.0f);
                noiseFilterL.set(fc, 0.6f);
                noiseFilterR.set(fc, 0.6f);
            }
            const float env =
                p * p * (n < lengthSamples ? 1.0f : std::exp(-(n - lengthSamples) * 100.0f / sampleRate));
            noiseL = noiseFilterL.process(white, FilterMode::BandPass) * env;
            noiseR = noiseFilterR.process(whiteSide, FilterMode::BandPass) * env;
            break;
        }
        }
        body *= bodyCoef;
        noiseEnv *= noiseCoef;
        sweep *= sweepCoef;
        out.left[i] += (mono + noiseL) * pg.left * gain;
        out.right[i] += (mono + noiseR) * pg.right * gain;
    }
}

} // namespace

} // namespace synth
