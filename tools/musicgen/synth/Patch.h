// A synth voice described as data: two oscillators, unison, a resonant filter with its own
// envelope, an LFO, and the amplitude envelope. Scores build these; the engine only reads them.
#pragma once

#include "synth/Adsr.h"
#include "synth/Oscillator.h"
#include "synth/Svf.h"

namespace synth {

struct SynthPatch {
    Waveform wave1 = Waveform::Saw;
    Waveform wave2 = Waveform::Square;
    float osc2Mix = 0.0f;       // 0: only oscillator 1, 1: only oscillator 2
    float osc2Semitones = 0.0f; // transposition of oscillator 2
    float noiseMix = 0.0f;
    float fmRatio = 1.0f;      // for Waveform::Fm
    float fmIndex = 0.0f;      // modulation index at full modulation envelope
    float fmIndexDecay = 0.0f; // seconds for the index to fall to a third; 0 keeps it constant

    int unison = 1;              // voices per note
    float unisonDetuneCents = 0; // spread of the outermost voices
    float stereoWidth = 0.0f;    // 0 mono .. 1 outermost voices hard left and right

    AdsrShape amp;
    AdsrShape filterEnvelope;
    FilterMode filterMode = FilterMode::LowPass;
    bool filterOn = true;
    float cutoffHz = 2000.0f;
    float resonance = 0.2f;
    float filterEnvOctaves = 0.0f; // cutoff rise at full filter envelope
    float keyTrack = 0.0f;         // 1: cutoff follows the note pitch
    float velocityToCutoff = 0.0f; // octaves at full velocity

    float lfoHz = 0.0f;
    float lfoToCutoffOctaves = 0.0f;
    float vibratoCents = 0.0f;
    float vibratoDelay = 0.0f; // seconds before vibrato fades in

    float pitchDropSemitones = 0.0f; // starting pitch offset that glides to 0
    float pitchDropTime = 0.05f;     // seconds of that glide (exponential)

    float drive = 0.0f; // tanh saturation after the filter, 0 off
    float gain = 0.2f;
};

} // namespace synth
