#pragma once
// The room pulse the title and the closing scenes share: a hit on every beat of their grid and a
// lighter after-beat that pauses for a while. GL-free.

#include "show/Timetable.h"

// At this scene clock (ms): a hit that rises over the first 200 ms of each beat, holds until
// 400 ms and falls by 1000 ms, plus 0.4 of a 200 ms rise and fall starting afterBeat ms into the
// beat, except while the clock is in [pause[0], pause[1]).
float beatPulse(float sceneClock, timetable::Beat beat, int afterBeat, const int (&pause)[2]);
