#include "score/Instruments.h"

namespace score {

using synth::AdsrShape;
using synth::DrumKind;
using synth::DrumPatch;
using synth::FilterMode;
using synth::SynthPatch;
using synth::Track;
using synth::Waveform;

namespace {

Track drumTrack(const char* name, const DrumPatch& patch, float gain, float reverb = 0.0f) {
    Track t;
    t.name = name;
    t.isDrum = true;
    t.drum = patch;
    t.gain = gain;
    t.reverbSend = reverb;
    return t;
}

Track synthTrack(const char* name, const SynthPatch& patch, float gain, float reverb, float delay,
                 bool ducked, bool chorus = false) {
    Track t;
    t.name = name;
    t.synth = patch;
    t.gain = gain;
    t.reverbSend = reverb;
    t.delaySend = delay;
    t.ducked = ducked;
    t.chorus = chorus;
    return t;
}

DrumPatch kick() {
    DrumPatch p;
    p.kind = DrumKind::Kick;
    p.pitchHz = 47.0f;
    p.sweepHz = 160.0f;
    p.sweepTime = 0.028f;
    p.decay = 0.42f;
    p.noiseLevel = 0.0f;
    p.click = 0.45f;
    p.drive = 0.35f;
    p.gain = 0.95f;
    return p;
}

DrumPatch heavyKick() {
    DrumPatch p = kick();
    p.pitchHz = 44.0f;
    p.sweepHz = 220.0f;
    p.sweepTime = 0.035f;
    p.decay = 0.7f;
    p.click = 0.7f;
    p.drive = 0.55f;
    return p;
}

DrumPatch softKick() {
    DrumPatch p = kick();
    p.pitchHz = 52.0f;
    p.sweepHz = 90.0f;
    p.sweepTime = 0.03f;
    p.decay = 0.5f;
    p.click = 0.35f;
    p.drive = 0.1f;
    return p;
}

DrumPatch boom() {
    DrumPatch p;
    p.kind = DrumKind::Kick;
    p.pitchHz = 36.0f;
    p.sweepHz = 120.0f;
    p.sweepTime = 0.08f;
    p.decay = 2.2f;
    p.noiseLevel = 0.4f;
    p.noiseDecay = 0.9f;
    p.toneHz = 300.0f;
    p.click = 0.5f;
    p.drive = 0.6f;
    return p;
}

DrumPatch snare() {
    DrumPatch p;
    p.kind = DrumKind::Snare;
    p.pitchHz = 185.0f;
    p.sweepHz = 70.0f;
    p.sweepTime = 0.015f;
    p.decay = 0.12f;
    p.noiseDecay = 0.24f;
    p.noiseLevel = 0.62f;
    p.click = 0.3f;
    p.width = 0.35f;
    return p;
}

DrumPatch clap() {
    DrumPatch p;
    p.kind = DrumKind::Clap;
    p.toneHz = 1250.0f;
    p.noiseDecay = 0.28f;
    p.decay = 0.05f;
    p.width = 0.5f;
    return p;
}

DrumPatch rim() {
    DrumPatch p;
    p.kind = DrumKind::Tom;
    p.pitchHz = 820.0f;
    p.sweepHz = 300.0f;
    p.sweepTime = 0.004f;
    p.decay = 0.06f;
    p.noiseLevel = 0.5f;
    p.noiseDecay = 0.03f;
    p.toneHz = 2500.0f;
    p.click = 0.6f;
    return p;
}

DrumPatch hat(float decay) {
    DrumPatch p;
    p.kind = DrumKind::Hat;
    p.toneHz = 7800.0f;
    p.noiseDecay = decay;
    p.decay = decay;
    p.noiseLevel = 0.55f;
    p.width = 0.4f;
    return p;
}

DrumPatch crash() {
    DrumPatch p;
    p.kind = DrumKind::Crash;
    p.toneHz = 4200.0f;
    p.noiseDecay = 2.4f;
    p.decay = 2.4f;
    p.noiseLevel = 0.75f;
    p.width = 0.9f;
    return p;
}

DrumPatch riser() {
    DrumPatch p;
    p.kind = DrumKind::Riser;
    p.pitchHz = 180.0f;
    p.decay = 0.1f;
    p.noiseDecay = 0.1f;
    p.width = 0.8f;
    return p;
}

DrumPatch tom() {
    DrumPatch p;
    p.kind = DrumKind::Tom;
    p.pitchHz = 95.0f;
    p.sweepHz = 70.0f;
    p.sweepTime = 0.05f;
    p.decay = 0.45f;
    p.noiseLevel = 0.2f;
    p.noiseDecay = 0.05f;
    p.toneHz = 800.0f;
    p.click = 0.2f;
    return p;
}

SynthPatch subBass() {
    SynthPatch p;
    p.wave1 = Waveform::Sine;
    p.filterOn = false;
    p.amp = AdsrShape{0.004f, 0.3f, 0.85f, 0.08f};
    p.drive = 0.15f;
    p.gain = 0.55f;
    return p;
}

SynthPatch bass() {
    SynthPatch p;
    p.wave1 = Waveform::Saw;
    p.wave2 = Waveform::Square;
    p.osc2Mix = 0.4f;
    p.osc2Semitones = -12.0f;
    p.cutoffHz = 260.0f;
    p.resonance = 0.3f;
    p.filterEnvOctaves = 2.6f;
    p.filterEnvelope = AdsrShape{0.002f, 0.18f, 0.0f, 0.1f};
    p.velocityToCutoff = 1.0f;
    p.amp = AdsrShape{0.002f, 0.25f, 0.7f, 0.06f};
    p.drive = 0.35f;
    p.gain = 0.32f;
    return p;
}

SynthPatch acid() {
    SynthPatch p;
    p.wave1 = Waveform::Saw;
    p.cutoffHz = 220.0f;
    p.resonance = 0.78f;
    p.filterEnvOctaves = 3.4f;
    p.filterEnvelope = AdsrShape{0.001f, 0.16f, 0.0f, 0.08f};
    p.velocityToCutoff = 1.6f;
    p.lfoHz = 0.4167f; // one sweep per 2.4 s bar
    p.lfoToCutoffOctaves = 0.9f;
    p.amp = AdsrShape{0.002f, 0.2f, 0.6f, 0.04f};
    p.drive = 0.5f;
    p.gain = 0.2f;
    return p;
}

SynthPatch pad() {
    SynthPatch p;
    p.wave1 = Waveform::Saw;
    p.unison = 4;
    p.unisonDetuneCents = 18.0f;
    p.stereoWidth = 0.85f;
    p.cutoffHz = 1500.0f;
    p.resonance = 0.15f;
    p.keyTrack = 0.4f;
    p.lfoHz = 0.13f;
    p.lfoToCutoffOctaves = 0.5f;
    p.amp = AdsrShape{0.9f, 1.2f, 0.8f, 1.6f};
    p.gain = 0.09f;
    return p;
}

SynthPatch warmPad() {
    SynthPatch p;
    p.wave1 = Waveform::Triangle;
    p.wave2 = Waveform::Saw;
    p.osc2Mix = 0.35f;
    p.osc2Semitones = 0.07f;
    p.unison = 3;
    p.unisonDetuneCents = 9.0f;
    p.stereoWidth = 0.7f;
    p.cutoffHz = 900.0f;
    p.resonance = 0.1f;
    p.amp = AdsrShape{1.5f, 1.5f, 0.85f, 2.2f};
    p.gain = 0.14f;
    return p;
}

SynthPatch lead() {
    SynthPatch p;
    p.wave1 = Waveform::Saw;
    p.wave2 = Waveform::Square;
    p.osc2Mix = 0.3f;
    p.osc2Semitones = 12.0f;
    p.unison = 3;
    p.unisonDetuneCents = 12.0f;
    p.stereoWidth = 0.4f;
    p.cutoffHz = 1800.0f;
    p.resonance = 0.3f;
    p.filterEnvOctaves = 1.2f;
    p.filterEnvelope = AdsrShape{0.005f, 0.3f, 0.3f, 0.3f};
    p.keyTrack = 0.5f;
    p.vibratoCents = 18.0f;
    p.vibratoDelay = 0.25f;
    p.lfoHz = 5.2f;
    p.amp = AdsrShape{0.008f, 0.3f, 0.75f, 0.25f};
    p.gain = 0.13f;
    return p;
}

SynthPatch softLead() {
    SynthPatch p;
    p.wave1 = Waveform::Triangle;
    p.wave2 = Waveform::Sine;
    p.osc2Mix = 0.4f;
    p.osc2Semitones = 12.0f;
    p.cutoffHz = 2400.0f;
    p.resonance = 0.1f;
    p.vibratoCents = 14.0f;
    p.vibratoDelay = 0.3f;
    p.lfoHz = 4.8f;
    p.amp = AdsrShape{0.03f, 0.4f, 0.8f, 0.4f};
    p.gain = 0.3f;
    return p;
}

SynthPatch pluck() {
    SynthPatch p;
    p.wave1 = Waveform::Square;
    p.wave2 = Waveform::Saw;
    p.osc2Mix = 0.5f;
    p.osc2Semitones = 0.1f;
    p.cutoffHz = 700.0f;
    p.resonance = 0.35f;
    p.filterEnvOctaves = 3.0f;
    p.filterEnvelope = AdsrShape{0.001f, 0.13f, 0.0f, 0.1f};
    p.keyTrack = 0.6f;
    p.amp = AdsrShape{0.001f, 0.28f, 0.0f, 0.2f};
    p.gain = 0.16f;
    return p;
}

SynthPatch bell() {
    SynthPatch p;
    p.wave1 = Waveform::Fm;
    p.fmRatio = 3.5f;
    p.fmIndex = 2.2f;
    p.fmIndexDecay = 0.6f;
    p.filterOn = false;
    p.amp = AdsrShape{0.002f, 1.6f, 0.0f, 1.2f};
    p.gain = 0.16f;
    return p;
}

SynthPatch stab() {
    SynthPatch p;
    p.wave1 = Waveform::Saw;
    p.wave2 = Waveform::Saw;
    p.osc2Mix = 0.5f;
    p.osc2Semitones = 0.12f;
    p.unison = 3;
    p.unisonDetuneCents = 14.0f;
    p.stereoWidth = 0.6f;
    p.cutoffHz = 900.0f;
    p.resonance = 0.25f;
    p.filterEnvOctaves = 2.5f;
    p.filterEnvelope = AdsrShape{0.002f, 0.2f, 0.1f, 0.15f};
    p.amp = AdsrShape{0.003f, 0.3f, 0.3f, 0.25f};
    p.gain = 0.08f;
    return p;
}

SynthPatch blip() {
    SynthPatch p;
    p.wave1 = Waveform::Fm;
    p.fmRatio = 2.0f;
    p.fmIndex = 2.0f;
    p.fmIndexDecay = 0.08f;
    p.filterOn = false;
    p.pitchDropSemitones = 7.0f;
    p.pitchDropTime = 0.03f;
    p.amp = AdsrShape{0.001f, 0.18f, 0.0f, 0.1f};
    p.gain = 0.2f;
    return p;
}

SynthPatch plop() {
    SynthPatch p;
    p.wave1 = Waveform::Sine;
    p.wave2 = Waveform::Triangle;
    p.osc2Mix = 0.3f;
    p.filterOn = false;
    p.pitchDropSemitones = 14.0f;
    p.pitchDropTime = 0.5f;
    p.amp = AdsrShape{0.003f, 0.7f, 0.0f, 0.3f};
    p.gain = 0.35f;
    return p;
}

SynthPatch drone() {
    SynthPatch p;
    p.wave1 = Waveform::Saw;
    p.wave2 = Waveform::Saw;
    p.osc2Mix = 0.5f;
    p.osc2Semitones = 7.02f;
    p.noiseMix = 0.08f;
    p.unison = 2;
    p.unisonDetuneCents = 8.0f;
    p.stereoWidth = 0.8f;
    p.cutoffHz = 350.0f;
    p.resonance = 0.55f;
    p.lfoHz = 0.07f;
    p.lfoToCutoffOctaves = 1.4f;
    p.amp = AdsrShape{2.5f, 2.0f, 0.9f, 3.0f};
    p.gain = 0.16f;
    return p;
}

} // namespace

synth::Song makeEnsemble(double length) {
    synth::Song song;
    song.length = length;
    song.tracks.resize(static_cast<size_t>(Instrument::Count));
    auto set = [&](Instrument p, Track t) { song.tracks[static_cast<size_t>(p)] = t; };
    set(Instrument::Kick, drumTrack("kick", kick(), 0.9f));
    set(Instrument::HeavyKick, drumTrack("heavy kick", heavyKick(), 1.0f, 0.05f));
    set(Instrument::SoftKick, drumTrack("soft kick", softKick(), 0.85f, 0.1f));
    set(Instrument::Boom, drumTrack("boom", boom(), 0.8f, 0.3f));
    set(Instrument::Snare, drumTrack("snare", snare(), 0.42f, 0.25f));
    set(Instrument::Clap, drumTrack("clap", clap(), 0.4f, 0.3f));
    set(Instrument::Rim, drumTrack("rim", rim(), 0.22f, 0.2f));
    set(Instrument::Hat, drumTrack("hat", hat(0.05f), 0.16f, 0.05f));
    set(Instrument::OpenHat, drumTrack("open hat", hat(0.28f), 0.12f, 0.1f));
    set(Instrument::Crash, drumTrack("crash", crash(), 0.16f, 0.35f));
    set(Instrument::Riser, drumTrack("riser", riser(), 0.14f, 0.4f));
    set(Instrument::Tom, drumTrack("tom", tom(), 0.5f, 0.25f));
    set(Instrument::SubBass, synthTrack("sub bass", subBass(), 1.0f, 0.0f, 0.0f, true));
    set(Instrument::Bass, synthTrack("bass", bass(), 1.0f, 0.02f, 0.0f, true));
    set(Instrument::Acid, synthTrack("acid", acid(), 1.0f, 0.1f, 0.2f, true));
    set(Instrument::Pad, synthTrack("pad", pad(), 1.0f, 0.45f, 0.0f, true, true));
    set(Instrument::WarmPad, synthTrack("warm pad", warmPad(), 1.0f, 0.5f, 0.0f, true, true));
    set(Instrument::Lead, synthTrack("lead", lead(), 1.0f, 0.3f, 0.25f, true));
    set(Instrument::SoftLead, synthTrack("soft lead", softLead(), 1.0f, 0.35f, 0.3f, true));
    set(Instrument::Pluck, synthTrack("pluck", pluck(), 1.0f, 0.25f, 0.35f, true));
    set(Instrument::Bell, synthTrack("bell", bell(), 1.0f, 0.5f, 0.3f, false));
    set(Instrument::Stab, synthTrack("stab", stab(), 1.0f, 0.3f, 0.2f, true));
    set(Instrument::Blip, synthTrack("blip", blip(), 1.0f, 0.2f, 0.3f, false));
    set(Instrument::Plop, synthTrack("plop", plop(), 1.0f, 0.4f, 0.2f, false));
    set(Instrument::Drone, synthTrack("drone", drone(), 1.0f, 0.5f, 0.1f, true, true));

    song.reverb = synth::ReverbSettings{0.82f, 0.45f, 1.0f, 0.025f};
    song.delay = synth::DelaySettings{0.375f, 0.5f, 0.38f, 0.6f, 3500.0f};
    song.chorus = synth::ChorusSettings{0.45f, 3.5f, 11.0f, 0.45f};
    song.duck = synth::DuckSettings{0.55f, 0.004f, 0.22f};
    song.reverbReturn = 0.9f;
    song.delayReturn = 0.6f;
    return song;
}

synth::Track& track(synth::Song& song, Instrument instrument) {
    return song.tracks[static_cast<size_t>(instrument)];
}

} // namespace score
