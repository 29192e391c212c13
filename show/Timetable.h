#pragma once
// The show's timetable: the moments inside sections that the script and the soundtrack both
// mark, the scene clocks' starting values and the beat grids the pictures pulse on. All times are
// milliseconds: of music time for the sections, of a scene's own clock for the grids.
//
// The director plays from these numbers and the soundtrack generator writes its cuts and hits
// from the same ones, so a cut moved here moves in both. Plain constants, no GL.

#include "show/Sections.h"

namespace timetable {

// A window of music time: from start for length ms.
struct Window {
    int start;
    int length;
    constexpr int end() const { return start + length; }
};

// The title's last 700 ms streak into black; so do the closing's last 800 ms before the end.
inline constexpr Window kTitleFadeToBlack{41100, 700};
inline constexpr Window kClosingFadeToBlack{285300, 800};

// From 56.2 s the swarm cuts to star-ball flashes every 3600 ms, each 700 ms long, counted from
// 56.5 s (the first one already cuts in at 56.2 s, where the remainder is still negative).
inline constexpr int kFlashesStart = 56200;
inline constexpr int kFlashOrigin = 56500;
inline constexpr int kFlashPeriod = 3600;
inline constexpr int kFlashLength = 700;
inline constexpr int kFlashFade = 250; // the smear dies away within this

// Before that, the director streaks the swarm twice in every 3660 ms cycle, h = (t + 2600) mod
// 3660: pulses rising from h = 0 and h = 600 over 150 ms and falling over the next 150 ms. The
// first three seconds of the section are one long streak that dies away instead.
inline constexpr int kSwarmIntroStreak = 3000;
inline constexpr int kSwarmPulseCycle = 3660;
inline constexpr int kSwarmPulseOffset = 2600;
inline constexpr int kSwarmPulseStarts[2] = {0, 600};
inline constexpr int kSwarmPulseRise = 150;

// The swarm switches between its close and wide view every 3700 ms: variant 1 while
// (t + 3100) mod 7400 >= 3700.
inline constexpr int kSwarmViewOffset = 3100;
inline constexpr int kSwarmViewLength = 3700;

// The star ball dissolves into the Hipu scene from 15.5 s after its section starts, over 1.5 s.
inline constexpr int kHipuDissolveDelay = 15500;
inline constexpr int kHipuDissolveLength = 1500;

// The swarm whites out over its last 4 s before 97.8 s; the Hipu scene comes out of white over
// its first 3 s.
inline constexpr Window kWhiteOut{93800, 4000};
inline constexpr Window kOutOfWhite{sectionStart(Section::Hipu), 3000};

// Every scene's clock at program start, and how many 1 ms warm-up renders it gets at load time
// (the title warms up once per word and once more, the swarm once per view).
namespace clockStart {
inline constexpr float kTitle = 0.0f;
inline constexpr float kDuck = 10500.0f;
inline constexpr float kStarBall = 137000.0f;
inline constexpr float kKukkeli = 32100.0f;
inline constexpr float kClosing = 10500.0f;
inline constexpr float kCave = 10500.0f;
inline constexpr float kPotko = 0.0f;
inline constexpr float kHipu = -3100.0f;
} // namespace clockStart
inline constexpr int kTitleWarmUps = 5;
inline constexpr int kKukkeliWarmUps = 2;
inline constexpr int kOtherWarmUps = 1;

// A pulse on a scene clock c: it starts where (c + offset) mod period == 0.
struct Beat {
    int period;
    int offset;
};

// Title: the room darkens on a 1400 ms beat, with a lighter after-beat 800 ms later that pauses
// while the clock is in [10000, 11000).
inline constexpr Beat kTitleBeat{1400, 1000};
inline constexpr int kTitleAfterBeat = 800;
inline constexpr int kTitleAfterBeatPause[2] = {10000, 11000};

// Closing: the same beat as the title, offset by 2200 ms.
inline constexpr Beat kClosingBeat{1400, 2200};
inline constexpr int kClosingAfterBeat = 800;
inline constexpr int kClosingAfterBeatPause[2] = {10000, 11000};

// Hipu: the blob flares twice in every 1880 ms cycle, (c + 700) mod 1880 = 0 and 940, once the
// clock has reached 3600 ms.
inline constexpr Beat kHipuBeat{1880, 700};
inline constexpr int kHipuSecondFlare = 940;
inline constexpr int kHipuBeatFrom = 3600;

// Star ball: the breathing noise surges in every 8000 ms cycle, (c + 3750) mod 8000 = 0: its
// drift rises five-fold over the first second and eases back over [6000, 7500).
inline constexpr Beat kStarBallSurge{8000, 3750};
inline constexpr int kStarBallSurgeRise = 1000;
inline constexpr Window kStarBallSurgeFall{6000, 1500};

// Duck: the tub bobs and the wings flap as sin(6.38 s) of the scene clock in seconds.
inline constexpr double kDuckBobRate = 6.38; // radians per second

// Potko: a kick every 1200 ms gated in over [3300, 3800) and out over [18500, 19000), then a
// 600 ms throb fading in over the same last window.
inline constexpr Beat kPotkoKick{1200, 0};
inline constexpr Window kPotkoKickGateIn{3300, 500};
inline constexpr Window kPotkoKickGateOut{18500, 500};
inline constexpr Beat kPotkoThrob{600, 0};
// The tower swells for 400 ms from the start of a kick and for 200 ms from the start of a throb.
// The soundtrack strikes this far into both pulses, where each stands at over nine tenths of its
// height: a hit at the start would come before anything on screen has moved.
inline constexpr int kPotkoAccent = 350;

} // namespace timetable
