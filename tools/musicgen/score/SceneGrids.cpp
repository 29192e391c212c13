// How each grid follows from the scene clocks.
//
// The show's clock is the music position in ms. Every scene keeps its own clock, which starts at a
// fixed value, gains 1 ms per warm-up render at load time, and then advances by the frame delta on
// every frame the scene is drawn (the director's second render of a crossfade passes a delta of 0).
// At a steady frame rate the first frame of a scene after a cut adds the whole delta since the
// previous frame, so in the limit of short frames a scene clock reads
//     c = t - (cut time) + (value the clock had when it was last left)
// and every grid below is that relation solved for t. A real frame rate shifts a scene's grid by
// less than one frame at its first cut, which is within the sync tolerance at 50 fps and above.
#include "score/SceneGrids.h"

#include <algorithm>
#include <cmath>

namespace score {

std::vector<double> periodicMs(double offsetMs, double periodMs, double beginMs, double endMs) {
    std::vector<double> out;
    // First k with k·period - offset >= begin.
    double k = std::ceil((beginMs + offsetMs) / periodMs);
    for (double t = k * periodMs - offsetMs; t < endMs; t += periodMs) out.push_back(t);
    return out;
}

namespace {

using namespace timetable;

std::vector<double> toSeconds(const std::vector<double>& ms) {
    std::vector<double> s;
    s.reserve(ms.size());
    for (double v : ms) s.push_back(v * 0.001);
    return s;
}

// The music time at which a scene clock would read 0, for a clock that starts at `start`, gains
// its warm-up milliseconds at load time and is first drawn at `firstDrawn`.
constexpr double clockOrigin(int firstDrawn, float start, int warmUps) {
    return firstDrawn - (static_cast<double>(start) + warmUps);
}

} // namespace

// Title: c = t + 5 (five warm-up renders). The background pulses with a = (c + 1000) mod 1400: a
// rise from a = 0 and a lighter after-beat from a = 800, i.e. t = 395 and 1195 (mod 1400). The
// after-beat is suppressed for 10000 <= c < 11000, a window that holds no after-beat start.
HitGrid titleGrid() {
    HitGrid g{"title", 0.0, cut::swarm, {}, {}};
    const double offset = kTitleBeat.offset - clockOrigin(0, clockStart::kTitle, kTitleWarmUps);
    g.mainHits = toSeconds(periodicMs(offset, kTitleBeat.period, 0.0, cut::swarm * 1000.0));
    g.afterBeats =
        toSeconds(periodicMs(offset - kTitleAfterBeat, kTitleBeat.period, 0.0, cut::swarm * 1000.0));
    return g;
}

// Swarm, first half: the director itself streaks the frame twice per 3660 ms cycle,
// h = (t + 2600) mod 3660, rising from h = 0 and h = 600 to peaks at h = 150 and h = 750, i.e. at
// t = 1210 and 1810 (mod 3660). The hits sit on the peaks. The pulses run from the end of the
// three-second intro streak until the flashes take over.
HitGrid swarmStreakGrid() {
    HitGrid g{"swarm", cut::swarm, cut::flashes, {}, {}};
    std::vector<double> hits;
    for (const int start : kSwarmPulseStarts) {
        const double peakOffset = kSwarmPulseOffset - (start + kSwarmPulseRise);
        const std::vector<double> pulse = periodicMs(
            peakOffset, kSwarmPulseCycle, sectionStart(Section::Swarm) + kSwarmIntroStreak, kFlashesStart);
        hits.insert(hits.end(), pulse.begin(), pulse.end());
    }
    std::sort(hits.begin(), hits.end());
    g.mainHits = toSeconds(hits);
    return g;
}

// Swarm, second half: from 56200 the director cuts to the star ball while
// m = (t - 56500) mod 3600 < 700; the smear is full until m = 0 and dies within 250 ms, so the
// flash hits are t = 56500 + 3600 k before 70000. (The first flash already cuts in at 56200,
// where the truncating remainder is negative; the score marks that cut with a fill.)
HitGrid swarmFlashGrid() {
    HitGrid g{"flashes", cut::flashes, cut::starBall, {}, {}};
    g.mainHits =
        toSeconds(periodicMs(-kFlashOrigin, kFlashPeriod, kFlashOrigin, sectionStart(Section::StarBall)));
    return g;
}

// The swarm's camera switches view where (t + 3100) mod 7400 crosses 0 or 3700: t = 600 (mod 3700).
std::vector<double> swarmCameraCuts(double begin, double end) {
    return toSeconds(periodicMs(kSwarmViewOffset, kSwarmViewLength, begin * 1000.0, end * 1000.0));
}

// Hipu: clock starts at -3100, +1 ms warm-up. It is first drawn while the star ball dissolves into
// it, from 15500 ms after the star-ball section starts (70000 + 15500 = 85500) to 86000, which adds
// 500 ms; then from 97300 on. So c = -3099 + 500 + (t - 97300) = t - 99899. The blob flares at
// B = (c + 700) mod 1880 = 0 and 940, i.e. (c + 700) mod 940 = 0  <=>  t = 99899 - 700 (mod 940),
// once c >= 3600 (t >= 103499); the first hit is c = 4000, t = 103899.
HitGrid hipuGrid() {
    static_assert(2 * kHipuSecondFlare == kHipuBeat.period, "the two flares split the cycle evenly");
    HitGrid g{"hipu", cut::hipu, cut::duck, {}, {}};
    const int drawnInDissolve =
        sectionStart(Section::WhiteOut) - (sectionStart(Section::StarBall) + kHipuDissolveDelay);
    const double origin =
        clockOrigin(sectionStart(Section::Hipu), clockStart::kHipu, kOtherWarmUps) - drawnInDissolve;
    const double offset = kHipuBeat.offset - origin; // t + offset = c + 700
    g.mainHits = toSeconds(periodicMs(offset, kHipuSecondFlare, origin + kHipuBeatFrom, cut::duck * 1000.0));
    return g;
}

// Duck: clock starts at 10500, +1 ms warm-up, first drawn at 126000: c = t - 115499. The tub bobs
// at 0.8 + sin(6.38 c/1000) and the wings flap with the same sine: a period of 2π/6.38 s = 984.83 ms.
// The hit is the bottom of the bob (sin = -1), where the tub lands and the wings are fully down.
double duckLowestBobPhaseMs() { return 1000.0 * (1.5 * M_PI) / kDuckBobRate; }

HitGrid duckGrid() {
    HitGrid g{"duck", cut::duck, cut::starBallAgain, {}, {}};
    const double period = 1000.0 * 2.0 * M_PI / kDuckBobRate;
    const double firstLow =
        clockOrigin(sectionStart(Section::Duck), clockStart::kDuck, kOtherWarmUps) + duckLowestBobPhaseMs();
    g.mainHits = toSeconds(periodicMs(-firstLow, period, cut::duck * 1000.0, cut::starBallAgain * 1000.0));
    return g;
}

// Potko: clock starts at 0, +1 ms warm-up, first drawn at 220000: c = t - 219999. The tower kicks
// with b = c mod 1200 from b = 0, gated in over c = 3300..3800 and out over 18500..19000: kicks
// start at c = 3600 .. 18000. Then a 600 ms throb, c mod 600 = 0, fades in over 18500..19000:
// throbs start at c = 18600 on until the cut at 246000. Every hit sits kPotkoAccent into its
// pulse, where the swell has nearly peaked.
namespace {
constexpr double potkoOrigin() {
    return clockOrigin(sectionStart(Section::Potko), clockStart::kPotko, kOtherWarmUps);
}
} // namespace

HitGrid potkoKickGrid() {
    const double origin = potkoOrigin() + kPotkoAccent;
    HitGrid g{"potko", cut::potko, origin * 0.001 + seconds(kPotkoKickGateOut.start), {}, {}};
    g.mainHits = toSeconds(periodicMs(kPotkoKick.offset - origin, kPotkoKick.period,
                                      origin + kPotkoKickGateIn.start, origin + kPotkoKickGateOut.start));
    return g;
}

HitGrid potkoThrobGrid() {
    const double origin = potkoOrigin() + kPotkoAccent;
    HitGrid g{"potko throb", origin * 0.001 + seconds(kPotkoKickGateOut.start), cut::closing, {}, {}};
    g.mainHits = toSeconds(periodicMs(kPotkoThrob.offset - origin, kPotkoThrob.period,
                                      origin + kPotkoKickGateOut.start, cut::closing * 1000.0));
    return g;
}

// Closing: clock starts at 10500, +1 ms warm-up, first drawn at 246000: c = t - 235499. The room
// pulses with A = (c + 2200) mod 1400 from A = 0, after-beats from A = 800:
// t = 235499 - 2200 (mod 1400) = 247299 + 1400 k; after-beats 246699 + 1400 k. The after-beat is
// muted while c < 11000, i.e. before 246501, which holds none. Hits stop with the fade at 285300.
HitGrid closingGrid() {
    HitGrid g{"closing", cut::closing, cut::fadeStart, {}, {}};
    const double offset = kClosingBeat.offset -
                          clockOrigin(sectionStart(Section::Closing), clockStart::kClosing, kOtherWarmUps);
    g.mainHits =
        toSeconds(periodicMs(offset, kClosingBeat.period, cut::closing * 1000.0, cut::fadeStart * 1000.0));
    g.afterBeats = toSeconds(periodicMs(offset - kClosingAfterBeat, kClosingBeat.period,
                                        cut::closing * 1000.0, cut::fadeStart * 1000.0));
    return g;
}

std::vector<HitGrid> allGrids() {
    return {titleGrid(), swarmStreakGrid(), swarmFlashGrid(), hipuGrid(),
            duckGrid(),  potkoKickGrid(),   potkoThrobGrid(), closingGrid()};
}

} // namespace score
