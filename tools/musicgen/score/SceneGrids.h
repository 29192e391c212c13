// Where the pictures pulse, in demo seconds: the section cuts of the show and the beat grids of
// the scenes that move on a beat, all derived from the show's timetable, which the director plays
// from too. The score puts its main percussive hits on these times; the review script checks the
// rendered file against the same list (musicgen --hits).
#pragma once

#include "show/Timetable.h"

#include <string>
#include <vector>

namespace score {

// Milliseconds of the timetable as seconds; dividing rounds to the same double as the decimal.
constexpr double seconds(int ms) { return ms / 1000.0; }

// Section cuts of the director, in seconds.
namespace cut {
constexpr double swarm = seconds(timetable::sectionStart(timetable::Section::Swarm));
constexpr double flashes = seconds(timetable::kFlashesStart); // the swarm starts cutting to star-ball flashes
constexpr double starBall = seconds(timetable::sectionStart(timetable::Section::StarBall));
constexpr double whiteOut = seconds(timetable::sectionStart(timetable::Section::WhiteOut));
constexpr double hipu = seconds(timetable::sectionStart(timetable::Section::Hipu));
constexpr double duck = seconds(timetable::sectionStart(timetable::Section::Duck));
constexpr double starBallAgain = seconds(timetable::sectionStart(timetable::Section::StarBallAgain));
constexpr double cave = seconds(timetable::sectionStart(timetable::Section::Cave));
constexpr double potko = seconds(timetable::sectionStart(timetable::Section::Potko));
constexpr double closing = seconds(timetable::sectionStart(timetable::Section::Closing));
// The closing streaks fade the picture to black.
constexpr double fadeStart = seconds(timetable::kClosingFadeToBlack.start);
constexpr double fadeEnd = seconds(timetable::kClosingFadeToBlack.end());
constexpr double end = seconds(timetable::kShowEnd);
} // namespace cut

struct HitGrid {
    std::string section;
    double begin = 0.0; // seconds, section window the grid is checked in
    double end = 0.0;
    std::vector<double> mainHits;   // the scene's strong pulses
    std::vector<double> afterBeats; // lighter pulses, where the scene has them
};

HitGrid titleGrid();
HitGrid swarmStreakGrid();
HitGrid swarmFlashGrid();
std::vector<double> swarmCameraCuts(double begin, double end);
HitGrid hipuGrid();
HitGrid duckGrid();
HitGrid potkoKickGrid();
HitGrid potkoThrobGrid();
HitGrid closingGrid();

// Every grid above, in time order: what the measurement compares onsets against.
std::vector<HitGrid> allGrids();

// Helpers the derivations share, exposed for tests.
// Times t in [begin, end) with (t + offset) mod period == 0, all in milliseconds.
std::vector<double> periodicMs(double offsetMs, double periodMs, double beginMs, double endMs);
// Duck bob: the lowest point of 0.8 + sin(6.38 s) on the duck's scene clock s.
double duckLowestBobPhaseMs();

} // namespace score
