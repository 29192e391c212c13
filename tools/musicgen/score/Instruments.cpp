#include "score/Instruments.h"

#include <vector>

namespace score {

using synth::AdsrShape;
using synth::DrumKind;
using synth::DrumPatch;
using synth::FilterMode;
using synth::SynthPatch;
using synth::Track;
using synth::Waveform;

namespace {

// Where a track sits in the mix: level, place in the field, sends and tone.
struct Placement {
    float gain = 1.0f;
    float pan = 0.0f;
    float reverb = 0.0f;
    float delay = 0.0f;
    bool ducked = false;
    bool chorus = false;
    std::vector<synth::EqBand> eq;
    synth::TransientSettings transient;
};

Track placed(const char* name, const Placement& at) {
    Track t;
    t.name = name;
    t.gain = at.gain;
    t.pan = at.pan;
    t.reverbSend = at.reverb;
    t.delaySend = at.delay;
    t.ducked = at.ducked;
    t.chorus = at.chorus;
    t.eq = at.eq;
    t.transient = at.transient;
    return t;
}

Track drumTrack(const char* name, const DrumPatch& patch, const Placement& at) {
    Track t = placed(name, at);
    t.isDrum = true;
    t.drum = patch;
    return t;
}

Track synthTrack(const char* name, const SynthPatch& patch, const Placement& at) {
    Track t = placed(name, at);
    t.synth = patch;
    return t;
}

DrumPatch kick() {
    DrumPatch p;
    p.kind = DrumKind::Kick;
    p.pitchHz = 52.0f;
    p.sweepHz = 170.0f;
    p.sweepTime = 0.026f;
    p.decay = 0.32f;
    p.noiseLevel = 0.0f;
    p.click = 0.2f;
    p.clickHz = 2000.0f;
    p.drive = 0.4f;
    p.gain = 0.95f;
    return p;
}

DrumPatch heavyKick() {
    DrumPatch p = kick();
    p.pitchHz = 49.0f;
    p.sweepHz = 220.0f;
    p.sweepTime = 0.032f;
    p.decay = 0.48f;
    p.click = 0.22f;
    p.clickHz = 1800.0f;
    p.drive = 0.55f;
    return p;
}

DrumPatch softKick() {
    DrumPatch p = kick();
    p.pitchHz = 52.0f;
    p.sweepHz = 90.0f;
    p.sweepTime = 0.03f;
    p.decay = 0.5f;
    p.click = 0.25f;
    p.clickHz = 1800.0f;
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
    p.toneHz = 7000.0f;
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

// A cymbal played backwards: it swells into the downbeat it ends on.
DrumPatch swell() {
    DrumPatch p = crash();
    p.noiseDecay = 1.8f;
    p.decay = 1.8f;
    p.reversed = true;
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
    p.cutoffHz = 380.0f;
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
    p.stereoWidth = 1.0f;
    p.cutoffHz = 2600.0f;
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
    p.stereoWidth = 0.9f;
    p.cutoffHz = 1600.0f;
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
    p.stereoWidth = 0.8f;
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
    p.stereoWidth = 0.85f;
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
    p.stereoWidth = 1.0f;
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
    using synth::EqBand;
    using synth::EqShape;
    synth::Song song;
    song.length = length;
    song.tracks.resize(static_cast<size_t>(Instrument::Count));
    auto set = [&](Instrument p, Track t) { song.tracks[static_cast<size_t>(p)] = t; };
    // Below this nothing but the kick and the sub bass has business: it only muddies the lows.
    const EqBand rumbleCut{EqShape::LowCut, 140.0f};

    // Drums. Kicks and bass stay in the centre; the kit around them is spread as seen from the
    // drummer's stool, and the kicks trade some boom for knock.
    const std::vector<EqBand> kickTone = {
        {EqShape::LowCut, 32.0f}, {EqShape::Bell, 60.0f, -3.0f, 1.2f}, {EqShape::Bell, 2800.0f, 2.0f, 0.8f}};
    set(Instrument::Kick, drumTrack("kick", kick(), {.gain = 0.9f, .eq = kickTone}));
    set(Instrument::HeavyKick,
        drumTrack("heavy kick", heavyKick(), {.gain = 1.0f, .reverb = 0.05f, .eq = kickTone}));
    set(Instrument::SoftKick,
        drumTrack("soft kick", softKick(), {.gain = 0.85f, .reverb = 0.1f, .eq = kickTone}));
    set(Instrument::Boom,
        drumTrack("boom", boom(), {.gain = 0.7f, .reverb = 0.3f, .eq = {{EqShape::LowCut, 30.0f}}}));
    set(Instrument::Snare, drumTrack("snare", snare(),
                                     {.gain = 0.5f,
                                      .reverb = 0.3f,
                                      .eq = {{EqShape::LowCut, 120.0f}, {EqShape::HighShelf, 5000.0f, 4.0f}},
                                      .transient = {.attackDb = 2.0f, .sustainDb = -1.0f}}));
    set(Instrument::Clap,
        drumTrack("clap", clap(), {.gain = 0.5f, .pan = 0.1f, .reverb = 0.35f, .eq = {rumbleCut}}));
    set(Instrument::Rim,
        drumTrack("rim", rim(), {.gain = 0.3f, .pan = -0.55f, .reverb = 0.2f, .delay = 0.15f}));
    set(Instrument::Hat, drumTrack("hat", hat(0.05f),
                                   {.gain = 0.32f,
                                    .pan = 0.5f,
                                    .reverb = 0.05f,
                                    .eq = {{EqShape::LowCut, 400.0f}, {EqShape::HighShelf, 9000.0f, 3.0f}}}));
    set(Instrument::OpenHat,
        drumTrack("open hat", hat(0.28f),
                  {.gain = 0.24f, .pan = -0.45f, .reverb = 0.1f, .eq = {{EqShape::LowCut, 400.0f}}}));
    set(Instrument::Crash,
        drumTrack("crash", crash(), {.gain = 0.26f, .reverb = 0.35f, .eq = {{EqShape::LowCut, 300.0f}}}));
    set(Instrument::Riser,
        drumTrack("riser", riser(), {.gain = 0.2f, .reverb = 0.2f, .eq = {{EqShape::LowCut, 200.0f}}}));
    set(Instrument::Swell,
        drumTrack("swell", swell(), {.gain = 0.3f, .reverb = 0.3f, .eq = {{EqShape::LowCut, 300.0f}}}));
    set(Instrument::Tom, drumTrack("tom", tom(), {.gain = 0.5f, .pan = -0.2f, .reverb = 0.25f}));

    // Bass: the sub holds the fundamental alone; the bass above it carries the line into the mids.
    set(Instrument::SubBass,
        synthTrack("sub bass", subBass(), {.gain = 0.49f, .ducked = true, .eq = {{EqShape::LowCut, 30.0f}}}));
    set(Instrument::Bass, synthTrack("bass", bass(),
                                     {.gain = 1.0f,
                                      .reverb = 0.02f,
                                      .ducked = true,
                                      .eq = {{EqShape::LowCut, 70.0f},
                                             {EqShape::Bell, 700.0f, 3.0f, 0.9f},
                                             {EqShape::Bell, 2000.0f, 2.0f, 1.0f}}}));
    set(Instrument::Acid,
        synthTrack(
            "acid", acid(),
            {.gain = 1.0f, .reverb = 0.1f, .delay = 0.2f, .ducked = true, .eq = {{EqShape::LowCut, 90.0f}}}));

    // Harmony and lines: wide, bright, out of the bass's way.
    set(Instrument::Pad, synthTrack("pad", pad(),
                                    {.gain = 1.3f,
                                     .reverb = 0.45f,
                                     .ducked = true,
                                     .chorus = true,
                                     .eq = {rumbleCut, {EqShape::HighShelf, 4000.0f, 4.0f}}}));
    set(Instrument::WarmPad, synthTrack("warm pad", warmPad(),
                                        {.gain = 1.3f,
                                         .reverb = 0.5f,
                                         .ducked = true,
                                         .chorus = true,
                                         .eq = {rumbleCut, {EqShape::HighShelf, 3000.0f, 4.0f}}}));
    set(Instrument::Lead,
        synthTrack("lead", lead(),
                   {.gain = 1.2f,
                    .reverb = 0.3f,
                    .delay = 0.3f,
                    .ducked = true,
                    .eq = {{EqShape::LowCut, 200.0f}, {EqShape::Bell, 3000.0f, 3.0f, 0.8f}}}));
    set(Instrument::SoftLead,
        synthTrack("soft lead", softLead(),
                   {.gain = 1.0f,
                    .pan = -0.3f,
                    .reverb = 0.35f,
                    .delay = 0.3f,
                    .ducked = true,
                    .eq = {{EqShape::LowCut, 200.0f}, {EqShape::HighShelf, 3000.0f, 3.0f}}}));
    set(Instrument::Pluck, synthTrack("pluck", pluck(),
                                      {.gain = 1.2f,
                                       .pan = -0.35f,
                                       .reverb = 0.25f,
                                       .delay = 0.4f,
                                       .ducked = true,
                                       .eq = {rumbleCut, {EqShape::HighShelf, 3500.0f, 4.0f}}}));
    set(Instrument::Bell,
        synthTrack("bell", bell(), {.gain = 1.0f, .pan = 0.45f, .reverb = 0.5f, .delay = 0.3f}));
    set(Instrument::Stab, synthTrack("stab", stab(),
                                     {.gain = 1.2f,
                                      .reverb = 0.3f,
                                      .delay = 0.25f,
                                      .ducked = true,
                                      .eq = {rumbleCut, {EqShape::Bell, 1500.0f, 3.0f, 0.7f}}}));
    set(Instrument::Blip,
        synthTrack("blip", blip(), {.gain = 1.0f, .pan = 0.35f, .reverb = 0.2f, .delay = 0.35f}));
    set(Instrument::Plop, synthTrack("plop", plop(), {.gain = 1.0f, .reverb = 0.4f, .delay = 0.2f}));
    set(Instrument::Drone,
        synthTrack("drone", drone(),
                   {.gain = 1.0f,
                    .reverb = 0.5f,
                    .delay = 0.1f,
                    .ducked = true,
                    .chorus = true,
                    .eq = {{EqShape::LowCut, 60.0f}, {EqShape::Bell, 800.0f, 3.0f, 0.7f}}}));

    song.reverb = synth::ReverbSettings{0.82f, 0.45f, 1.0f, 0.025f};
    song.delay = synth::DelaySettings{0.375f, 0.5f, 0.38f, 0.6f, 3500.0f};
    song.chorus = synth::ChorusSettings{0.45f, 3.5f, 11.0f, 0.45f};
    song.duck = synth::DuckSettings{0.55f, 0.004f, 0.22f};
    song.reverbReturn = 1.3f;
    song.delayReturn = 0.9f;
    // Tails and echoes keep to the middle and top: a reverb full of bass is mud.
    song.reverbEq = {{EqShape::LowCut, 250.0f}, {EqShape::HighShelf, 6000.0f, 2.0f}};
    song.delayEq = {{EqShape::LowCut, 300.0f}};
    song.busEq = {{EqShape::LowShelf, 90.0f, -3.5f},
                  {EqShape::Bell, 170.0f, -3.0f, 1.0f},
                  {EqShape::Bell, 1000.0f, -3.5f, 0.7f},
                  {EqShape::HighShelf, 5000.0f, 4.0f},
                  {EqShape::HighShelf, 11000.0f, -1.0f}};
    // Kick and bass sit in the middle; whatever width the lows pick up from chorus and reverb goes.
    song.monoBelowHz = 120.0f;
    // Glue: a slow attack lets every kick's first cycle through before the gain comes down.
    song.busCompressor = {
        .thresholdDb = -15.0f, .ratio = 2.0f, .attack = 0.03f, .release = 0.2f, .kneeDb = 6.0f};
    return song;
}

synth::Track& track(synth::Song& song, Instrument instrument) {
    return song.tracks[static_cast<size_t>(instrument)];
}

} // namespace score
