#include "synth/Voice.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace synth {

namespace {
constexpr int maxUnison = 8;
// Cutoff and pitch modulation are recomputed every this many samples: tan() per sample would
// dominate the render time and the steps are far too short to hear.
constexpr int controlBlock = 16;

struct UnisonVoice {
    Oscillator osc1;
    Oscillator osc2;
    float detuneRatio = 1.0f;
    float gainLeft = 0.707f;
    float gainRight = 0.707f;
};
} // namespace

void renderNote(const SynthPatch& patch, const Note& note, uint32_t seed, StereoBuffer& out) {
    const int first = secondsToSamples(note.start);
    if (first >= static_cast<int>(out.frames())) return;
    const int gateSamples = std::max(1, secondsToSamples(note.duration));
    // Long enough for the release to fall to silence; the envelope ends the loop earlier.
    const int maxSamples = gateSamples + secondsToSamples(patch.amp.release * 1.5 + 0.01);

    Rng rng(seed);
    const int voiceCount = std::clamp(patch.unison, 1, maxUnison);
    std::array<UnisonVoice, maxUnison> voices{};
    for (int v = 0; v < voiceCount; ++v) {
        UnisonVoice& u = voices[v];
        const float spread = voiceCount == 1 ? 0.0f : 2.0f * v / (voiceCount - 1) - 1.0f; // -1..1
        u.detuneRatio = std::exp2(spread * patch.unisonDetuneCents / 1200.0f);
        const float pan = std::clamp(note.pan + spread * patch.stereoWidth, -1.0f, 1.0f);
        const float angle = (pan + 1.0f) * 0.25f * pi;
        u.gainLeft = std::cos(angle) / std::sqrt(static_cast<float>(voiceCount));
        u.gainRight = std::sin(angle) / std::sqrt(static_cast<float>(voiceCount));
        u.osc1.phase = voiceCount == 1 ? 0.0f : rng.nextUnit();
        u.osc2.phase = voiceCount == 1 ? 0.0f : rng.nextUnit();
    }

    // The filter is linear and the same for all unison voices, so the voices are summed per side
    // first and each side filtered once: two filters per note instead of one per voice.
    Svf filterLeft;
    Svf filterRight;
    Adsr amp(patch.amp);
    Adsr filterEnv(patch.filterEnvelope);
    amp.gateOn();
    filterEnv.gateOn();

    const float baseHz = midiToHz(note.pitch);
    const float osc2Ratio = std::exp2(patch.osc2Semitones / 12.0f);
    const float keyTrackOctaves = patch.keyTrack * (note.pitch - 60.0f) / 12.0f;
    const float velocityOctaves = patch.velocityToCutoff * (note.velocity - 1.0f);
    const float dropCoef = std::exp(-1.0f / std::max(1.0f, patch.pitchDropTime * sampleRate / 4.0f));
    const float fmDecayCoef =
        patch.fmIndexDecay > 0.0f ? std::exp(-1.0986f / (patch.fmIndexDecay * sampleRate)) : 1.0f;
    const float lfoIncrement = patch.lfoHz / static_cast<float>(sampleRate);
    const float gain = patch.gain * note.velocity;
    const float oneMinusMix = 1.0f - patch.osc2Mix;

    float drop = patch.pitchDropSemitones;
    float fmIndex = patch.fmIndex;
    float lfoPhase = rng.nextUnit();
    float increment = 0.0f;
    float envFilter = 0.0f;
    const int last = std::min(first + maxSamples, static_cast<int>(out.frames()));
    for (int i = first, n = 0; i < last; ++i, ++n) {
        if (n == gateSamples) {
            amp.gateOff();
            filterEnv.gateOff();
        }
        if (n % controlBlock == 0) {
            const float lfo = std::sin(twoPi * lfoPhase);
            const float seconds = static_cast<float>(n) / sampleRate;
            float vibrato = 0.0f;
            if (patch.vibratoCents != 0.0f && seconds > patch.vibratoDelay)
                vibrato = lfo * patch.vibratoCents * std::min(1.0f, (seconds - patch.vibratoDelay) * 2.0f);
            const float hz = baseHz * std::exp2((drop + vibrato / 100.0f) / 12.0f);
            increment = hz / static_cast<float>(sampleRate);
            if (patch.filterOn) {
                const float octaves = keyTrackOctaves + velocityOctaves + patch.filterEnvOctaves * envFilter +
                                      patch.lfoToCutoffOctaves * lfo;
                const float cutoff = patch.cutoffHz * std::exp2(octaves);
                filterLeft.set(cutoff, patch.resonance);
                if (voiceCount > 1) filterRight.set(cutoff, patch.resonance);
            }
        }
        envFilter = filterEnv.next();
        const float level = amp.next();
        if (amp.finished() && n > gateSamples) break;
        drop *= dropCoef;
        fmIndex *= fmDecayCoef;
        lfoPhase += lfoIncrement;
        if (lfoPhase >= 1.0f) lfoPhase -= 1.0f;

        float left = 0.0f;
        float right = 0.0f;
        for (int v = 0; v < voiceCount; ++v) {
            UnisonVoice& u = voices[v];
            const float inc = increment * u.detuneRatio;
            float s = oneMinusMix * u.osc1.next(patch.wave1, inc, rng, patch.fmRatio, fmIndex);
            if (patch.osc2Mix > 0.0f)
                s += patch.osc2Mix * u.osc2.next(patch.wave2, inc * osc2Ratio, rng, patch.fmRatio, fmIndex);
            if (patch.noiseMix > 0.0f) s += patch.noiseMix * rng.nextBipolar();
            // A single voice has one signal: filter it before panning.
            if (voiceCount == 1 && patch.filterOn) s = filterLeft.process(s, patch.filterMode);
            left += s * u.gainLeft;
            right += s * u.gainRight;
        }
        if (voiceCount > 1 && patch.filterOn) {
            left = filterLeft.process(left, patch.filterMode);
            right = filterRight.process(right, patch.filterMode);
        }
        if (patch.drive > 0.0f) {
            const float d = 1.0f + patch.drive * 4.0f;
            left = std::tanh(left * d) / std::sqrt(d);
            right = std::tanh(right * d) / std::sqrt(d);
        }
        out.left[i] += left * level * gain;
        out.right[i] += right * level * gain;
    }
}

} // namespace synth
