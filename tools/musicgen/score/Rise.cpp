// 70 - 126 s at one tempo, 470 ms a beat: the Hipu blob flares every 940 ms, twice per 1880 ms
// bar, and the stretch before it builds towards that. Star ball (70 - 86): a breakdown without
// kick. White-out (86 - 97.3): four-on-the-floor building to the white. Hipu (97.3 - 126): it
// comes out of the white without drums and drops when the blob starts to flare.
#include "score/Instruments.h"
#include "score/SceneGrids.h"
#include "score/Sections.h"
#include "score/Writer.h"

#include <algorithm>
#include <cmath>

namespace score {

namespace {
constexpr double beat = 0.47;
// The blob's hits run on t = 103.899 + 0.94 k; the same grid reaches back to 70.999, so the star
// ball gets eight bars and the white-out six, each starting on a bar line.
double hipuOrigin() { return hipuGrid().mainHits.front(); }
Grid beatGrid() { return Grid{hipuOrigin(), beat}; }
double barTime(int bar) { return hipuOrigin() + bar * 4 * beat; } // bar 0 is the drop

// An A minor world in colour chords. The home turn is Am9 Fmaj7 Cmaj7 G6; the middle of each
// section lifts to Dm9 Em7 Fmaj7 G6, and the white-out climbs to E to hand over to the A.
enum class Colour { Am9, Fmaj7, Cmaj7, G6, Dm9, Em7, E7sus };
constexpr Colour home[4] = {Colour::Am9, Colour::Fmaj7, Colour::Cmaj7, Colour::G6};
constexpr Colour lifted[4] = {Colour::Dm9, Colour::Em7, Colour::Fmaj7, Colour::G6};

float rootOf(Colour c) {
    switch (c) {
    case Colour::Am9:
        return 45.0f;
    case Colour::Fmaj7:
        return 41.0f;
    case Colour::Cmaj7:
        return 48.0f;
    case Colour::G6:
        return 43.0f;
    case Colour::Dm9:
        return 38.0f;
    case Colour::Em7:
        return 40.0f;
    case Colour::E7sus:
        return 40.0f;
    }
    return 45.0f;
}

std::vector<float> voicing(Colour c) {
    const float r = rootOf(c) + 12.0f;
    switch (c) {
    case Colour::Am9:
    case Colour::Dm9:
        return {r, r + 7, r + 10, r + 14, r + 15};
    case Colour::Fmaj7:
    case Colour::Cmaj7:
        return {r, r + 7, r + 11, r + 16};
    case Colour::G6:
        return {r, r + 7, r + 9, r + 16};
    case Colour::Em7:
        return {r, r + 7, r + 10, r + 15};
    case Colour::E7sus:
        return {r, r + 5, r + 7, r + 10, r + 16};
    }
    return {r};
}

Colour homeTurn(int i) { return home[((i % 4) + 4) % 4]; }
Colour liftedTurn(int i) { return lifted[((i % 4) + 4) % 4]; }
} // namespace

void writeStarBall(synth::Song& song) {
    const double start = cut::starBall;
    const int firstBar = -17; // 70.999 s
    const int lastBar = -9;   // 86.039 s, the white-out's first bar
    const double end = barTime(lastBar);
    addHit(track(song, Instrument::Boom), start, 0.9f);
    addHit(track(song, Instrument::Crash), start, 0.9f);
    addChord(track(song, Instrument::WarmPad), start, barTime(firstBar) - start + 0.2, voicing(Colour::Am9),
             0.8f);
    // The whole breakdown opens up bar by bar, not only at its end: the pads brighten and grow.
    synth::Track& pad = track(song, Instrument::Pad);
    levelRamp(pad, barTime(firstBar), end, -5.0f, 0.0f);
    lowPassSweep(pad, barTime(firstBar), end, 700.0f, 6000.0f);
    levelRamp(track(song, Instrument::Bell), barTime(firstBar + 4), end, 0.0f, -4.0f);
    const Grid eighths{hipuOrigin(), beat / 2};
    for (int bar = firstBar; bar < lastBar; ++bar) {
        const int i = bar - firstBar;
        const Colour colour = i < 4 ? homeTurn(i) : liftedTurn(i);
        const std::vector<float> c = voicing(colour);
        addChord(pad, barTime(bar), 4 * beat * 0.98, c, 0.6f + 0.03f * i);
        // The sub waits for the second half: the first four bars float.
        if (i >= 4)
            addNote(track(song, Instrument::SubBass), barTime(bar), 4 * beat * 0.95, rootOf(colour) - 12.0f,
                    0.4f + 0.05f * (i - 4));
        // Bells in eighths, thinning out the harmony into a shimmer.
        for (int e = 0; e < 8; ++e) {
            const float p = c[static_cast<size_t>((e * 3) % static_cast<int>(c.size()))] + 12.0f;
            addNote(track(song, Instrument::Bell), eighths.at((bar * 4) * 2 + e), 0.3, p,
                    e % 4 == 0 ? 0.55f : 0.35f, e % 2 ? 0.4f : -0.4f);
        }
        if (i >= 4) {
            // Second half: the arpeggio wakes up with the lifted chords.
            for (int s = 0; s < 16; ++s) {
                const float p = c[static_cast<size_t>(s % static_cast<int>(c.size()))] + 12.0f +
                                (s % 8 >= 4 ? 12.0f : 0.0f);
                addNote(track(song, Instrument::Pluck), eighths.at(bar * 8) + s * beat / 4, 0.1, p,
                        0.3f + 0.05f * (i - 4) + (s % 4 == 0 ? 0.15f : 0.0f), s % 2 ? 0.3f : -0.3f);
            }
        }
        // A heartbeat under the second half, on the bar's two halves: no kick yet, only its shadow.
        if (i >= 4) {
            for (int half = 0; half < 2; ++half)
                addHit(track(song, Instrument::Tom), barTime(bar) + half * 2 * beat, 0.35f + 0.05f * (i - 4),
                       0.0f, 48.0f);
        }
    }
    // Snare roll over the last two bars: quarters, eighths, then sixteenths.
    const Grid beats = beatGrid();
    addPattern(track(song, Instrument::Snare), beats, (lastBar - 2) * 4, 1, "o.o.", 0.0, 1e9, 0.6f);
    addPattern(track(song, Instrument::Snare), Grid{barTime(lastBar - 1), beat / 4}, 0, 1, "o.o.o.o.xoxoxXxX",
               0.0, 1e9, 0.7f);
    addRiser(track(song, Instrument::Riser), end, 4 * 2 * beat, 0.8f);
}

void writeWhiteOut(synth::Song& song) {
    const int firstBar = -9; // 86.039 s
    const int lastBar = -3;  // 97.319 s, the cut to Hipu
    const double start = cut::whiteOut;
    const Grid beats = beatGrid();
    const Grid sixteenths{hipuOrigin(), beat / 4};
    const double end = barTime(lastBar);
    // F G Am, F G E: the climb ends on the dominant, which the A of the drop answers.
    constexpr Colour climb[6] = {Colour::Fmaj7, Colour::G6, Colour::Am9,
                                 Colour::Fmaj7, Colour::G6, Colour::E7sus};
    addHit(track(song, Instrument::Crash), start, 0.8f);
    // Kick and hats alone first; the clap joins after two bars, the open hat after three.
    addPattern(track(song, Instrument::Kick), beats, firstBar * 4, 6, "XxXx", start, end);
    levelRamp(track(song, Instrument::Kick), start, end, -5.0f, 0.0f);
    addPattern(track(song, Instrument::Clap), beats, (firstBar + 2) * 4, 4, "-x-x", start, end);
    addPattern(track(song, Instrument::Hat), sixteenths, firstBar * 16, 24, "o.x.", start, end);
    addPattern(track(song, Instrument::OpenHat), sixteenths, (firstBar + 3) * 16, 12, "--x-", start, end);
    // The build runs over all six bars: filters open, stabs and pads climb.
    synth::Track& stab = track(song, Instrument::Stab);
    synth::Track& pad = track(song, Instrument::Pad);
    synth::Track& bass = track(song, Instrument::Bass);
    levelRamp(stab, start, end, -9.0f, 0.0f);
    lowPassSweep(stab, start, end, 900.0f, 9000.0f);
    levelRamp(pad, start, end, -4.0f, 1.0f);
    lowPassSweep(pad, start, end, 800.0f, 9000.0f);
    lowPassSweep(bass, start, end, 300.0f, 3000.0f);
    levelRamp(track(song, Instrument::Hat), start, end, -6.0f, 0.0f);
    for (int bar = firstBar; bar < lastBar; ++bar) {
        const int i = bar - firstBar;
        const Colour colour = climb[i];
        const std::vector<float> c = voicing(colour);
        addChord(pad, barTime(bar), 4 * beat * 0.97, c, 0.7f + 0.05f * i);
        for (int e = 0; e < 8; ++e) {
            const double t = barTime(bar) + e * beat / 2;
            // Off-beat eighths, the octave bouncing on the last two.
            if (e % 2 == 0) continue;
            addNote(bass, t, beat / 2 * 0.8, rootOf(colour) + (e >= 5 ? 12.0f : 0.0f), 0.9f);
            addChord(stab, t, 0.12, {c[1] + 12, c[2] + 12, c[3] + 12}, 0.5f + 0.08f * i);
        }
        // The sub joins the kick from the third bar.
        if (i >= 2)
            addNote(track(song, Instrument::SubBass), barTime(bar), 4 * beat * 0.95, rootOf(colour) - 12.0f,
                    0.6f);
    }
    // The white: sixteenth snares for the last two bars, rising into the cut.
    const double rollStart = barTime(lastBar - 2);
    for (int s = 0; s < 32; ++s)
        addHit(track(song, Instrument::Snare), rollStart + s * beat / 4, 0.35f + 0.02f * s);
    addRiser(track(song, Instrument::Riser), end, end - rollStart, 1.0f);
    addMelody(track(song, Instrument::Lead), beats, (firstBar + 2) * 4,
              "E5:1 A5:1 B5:1 C6:3 B5:1 A5:1 | G5:1 A5:1 B5:1 C6:2 D6:2 E6:2 | E6:4 -:4", 0.8f);
}

void writeHipu(synth::Song& song) {
    const HitGrid hits = hipuGrid();
    const Grid beats = beatGrid();
    const Grid sixteenths{hipuOrigin(), beat / 4};
    const double whiteCut = barTime(-3);
    const double end = cut::duck;
    const int lastBar = 12; // 126.459 s; the section ends a quarter into bar 11's last beat
    // Bars 4 - 7 take the lifted turn; bars 9 - 10 break down while the camera zooms back out.
    auto colourOf = [](int bar) { return bar >= 4 && bar < 8 ? liftedTurn(bar) : homeTurn(bar); };
    auto breakdown = [](int bar) { return bar == 9 || bar == 10; };

    // Out of the white: the arrival, then floating pads and bells, no drums.
    addHit(track(song, Instrument::Crash), whiteCut, 1.0f);
    addHit(track(song, Instrument::Boom), whiteCut, 1.0f);
    for (int bar = -3; bar < 0; ++bar) {
        const std::vector<float> c = voicing(homeTurn(bar + 3));
        addChord(track(song, Instrument::WarmPad), barTime(bar), 4 * beat, c, 0.75f);
        for (int e = 0; e < 8; ++e) {
            addNote(track(song, Instrument::Bell), barTime(bar) + e * beat / 2, 0.5,
                    c[static_cast<size_t>(e % static_cast<int>(c.size()))] + 24.0f, 0.3f + 0.04f * e,
                    e % 2 ? 0.5f : -0.5f);
        }
    }
    // The half bar before the drop: a tom run.
    addPattern(track(song, Instrument::Tom), sixteenths, -8, 1, "x.x.xxxX", 0.0, 1e9, 0.8f, 60.0f);
    addRiser(track(song, Instrument::Riser), barTime(0), barTime(0) - barTime(-1), 0.9f);

    // The drop: the blob's flares on the heavy kick, the beats between on the plain one.
    for (double t : hits.mainHits) addHit(track(song, Instrument::HeavyKick), t, 1.0f);
    addHit(track(song, Instrument::Crash), hits.mainHits.front(), 1.0f);
    addPattern(track(song, Instrument::Kick), beats, 1, 2 * 24, "x-", 0.0, end, 0.85f);
    addPattern(track(song, Instrument::Clap), beats, 0, 12, "-x-x", 0.0, end);
    for (int bar = 0; bar < lastBar; ++bar) {
        if (breakdown(bar)) continue;
        // Closed hats from the drop, open hats join after the first four bars.
        addPattern(track(song, Instrument::Hat), sixteenths, bar * 16, 4, "..x.", 0.0, end);
        if (bar >= 4) addPattern(track(song, Instrument::OpenHat), sixteenths, bar * 16, 4, "--o-", 0.0, end);
    }
    synth::Track& pad = track(song, Instrument::Pad);
    lowPassSweep(pad, barTime(9), barTime(11), 700.0f, 5000.0f);
    for (int bar = 0; bar < lastBar; ++bar) {
        const Colour colour = colourOf(bar);
        const std::vector<float> c = voicing(colour);
        addChord(pad, barTime(bar), 4 * beat * 0.97, c, breakdown(bar) ? 0.9f : 0.65f);
        if (!breakdown(bar)) {
            // Bass in sixteenths with holes: a driving but airy line.
            const char* shape = "X-xoX-xo-xXo-x-o";
            addPattern(track(song, Instrument::Bass), sixteenths, bar * 16, 1, shape, 0.0, end, 1.0f,
                       rootOf(colour));
        }
        if (!breakdown(bar))
            addNote(track(song, Instrument::SubBass), barTime(bar), 4 * beat * 0.95, rootOf(colour) - 12.0f,
                    0.65f);
    }
    // Hipu's lead: a plucky call and response, echoed by the delay.
    const char* call = "A5:2 C6:1 E6:1 D6:2 C6:1 B5:1 | C6:2 A5:2 G5:2 E5:2";
    const char* answer = "F5:2 A5:1 C6:1 B5:2 A5:1 G5:1 | A5:4 E5:4";
    for (int bar : {2, 6}) {
        addMelody(track(song, Instrument::Pluck), Grid{barTime(bar), beat / 2}, 0, call, 0.9f);
        addMelody(track(song, Instrument::Pluck), Grid{barTime(bar + 2), beat / 2}, 0, answer, 0.9f);
    }
    addMelody(track(song, Instrument::Lead), beats, 9 * 4, "E6:3 D6:1 C6:2 B5:2 | A5:4 -:4", 0.7f);
    addRiser(track(song, Instrument::Riser), barTime(11), barTime(11) - barTime(10), 0.8f);
    addHit(track(song, Instrument::Crash), barTime(11), 0.9f);
}

} // namespace score
