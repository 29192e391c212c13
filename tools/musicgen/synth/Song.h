// A piece as data: tracks of notes or drum hits, each with its own patch, voicing, level, pan,
// movement over time and effect sends, plus the shared buses and the mix bus. renderSong turns it
// into a stereo mix; masterMix brings that mix to a loudness target under a true-peak ceiling.
#pragma once

#include "synth/Automation.h"
#include "synth/Drums.h"
#include "synth/Dynamics.h"
#include "synth/Effects.h"
#include "synth/Equalizer.h"
#include "synth/Note.h"
#include "synth/Patch.h"
#include "synth/StereoBuffer.h"

#include <string>
#include <vector>

namespace synth {

struct Track {
    std::string name;
    bool isDrum = false;
    SynthPatch synth;
    DrumPatch drum;
    std::vector<Note> notes; // for drums: start, velocity, pan; pitch transposes around 60
    float gain = 1.0f;
    float reverbSend = 0.0f;
    float delaySend = 0.0f;
    bool ducked = false; // follows the song's sidechain curve
    bool chorus = false; // runs the song's chorus over the track
    float pan = 0.0f;    // balance of the whole track, -1 left .. 1 right, constant power
    std::vector<EqBand> eq;
    TransientSettings transient; // 0 dB both: untouched
    Automation levelDb;          // level arc over the piece, in dB; empty holds 0 dB
    Automation lowPassHz;        // a swept low-pass; empty leaves the track open
    Automation highPassHz;       // a swept high-pass; empty leaves the lows in
};

struct Song {
    double length = 10.0; // seconds rendered
    std::vector<Track> tracks;
    ReverbSettings reverb;
    DelaySettings delay;
    std::vector<DelayChange> delayChanges; // tempo changes of the echo, in time order
    ChorusSettings chorus;
    DuckSettings duck;
    std::vector<double> duckTriggers; // seconds
    float reverbReturn = 1.0f;
    float delayReturn = 1.0f;
    std::vector<EqBand> reverbEq; // the returns' tone: tails without mud
    std::vector<EqBand> delayEq;
    // The mix bus, in this order: tone, low-frequency mono fold, glue compression.
    std::vector<EqBand> busEq;
    float monoBelowHz = 0.0f; // 0 leaves the sides alone
    CompressorSettings busCompressor{.ratio = 1.0f};
    double fadeOutStart = -1.0; // seconds; a half-cosine fade to silence when >= 0
    double fadeOutEnd = -1.0;
};

StereoBuffer renderSong(const Song& song);

struct MasterSettings {
    double targetLufs = -14.5; // the encoder's low-pass takes about 0.3 LU off

    LimiterSettings limiter;
    int passes = 2; // gain, limit, re-measure
};

struct MasterReport {
    double loudness = 0.0;   // LUFS after mastering
    float truePeakDb = 0.0f; // estimated, dBTP
    float gainDb = 0.0f;     // make-up gain applied before the limiter
};

// Scales and limits the mix in place.
MasterReport masterMix(StereoBuffer& mix, const MasterSettings& settings);

} // namespace synth
