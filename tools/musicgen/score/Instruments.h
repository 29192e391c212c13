// The show's instruments: one track per sound, with its patch, level and sends.
#pragma once

#include "synth/Song.h"

namespace score {

enum class Instrument {
    Kick,      // four-on-the-floor kick
    HeavyKick, // the main hits: longer body, more drive
    SoftKick,  // the title's heartbeat
    Boom,      // section impacts
    Snare,
    Clap,
    Rim,
    Hat,
    OpenHat,
    Crash,
    Riser,
    Swell, // reversed cymbal into a downbeat
    Tom,
    SubBass,
    Bass,
    Acid,
    Pad,
    WarmPad,
    Lead,
    SoftLead,
    Pluck,
    Bell,
    Stab,
    Blip,
    Plop,
    Drone,
    Count
};

// A song with every instrument's track in place and empty, and the shared buses set.
synth::Song makeEnsemble(double length);
synth::Track& track(synth::Song& song, Instrument instrument);

} // namespace score
