// Where the pictures pulse, in demo seconds: the section cuts of the show and the beat grids of
// the scenes that move on a beat. The score puts its main percussive hits on these times; the
// review script checks the rendered file against the same list (musicgen --hits).
#pragma once

#include <string>
#include <vector>

namespace score {

// Section cuts of the director, in seconds.
namespace cut {
constexpr double swarm = 41.8;
constexpr double flashes = 56.2; // the swarm starts cutting to star-ball flashes
constexpr double starBall = 70.0;
constexpr double whiteOut = 86.0;
constexpr double hipu = 97.3;
constexpr double duck = 126.0;
constexpr double starBallAgain = 157.0;
constexpr double cave = 164.0;
constexpr double potko = 220.0;
constexpr double closing = 246.0;
constexpr double fadeStart = 285.3; // the closing streaks fade the picture to black
constexpr double fadeEnd = 286.1;
constexpr double end = 286.5;
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
