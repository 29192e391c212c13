// The soundtrack of the show: every section written into one ensemble.
#pragma once

#include "synth/Song.h"

namespace score {

// Seconds rendered: the show's 286.5 s plus a short tail of silence.
constexpr double soundtrackLength = 287.5;

synth::Song composeSoundtrack();

} // namespace score
