// Star swarm, 41.8 - 70 s. First half: the director streaks the frame twice per 3660 ms, 600 ms
// apart, so the bar is twelve eighths of 305 ms (a swirling twelve-eight in D minor) with the two
// streaks as its first hits. Second half: the star ball flashes in every 3600 ms, which the
// music takes as two bars of straight 133 bpm four-on-the-floor.
#include "score/Instruments.h"
#include "score/SceneGrids.h"
#include "score/Sections.h"
#include "score/Writer.h"

#include <algorithm>
#include <cmath>

namespace score {

namespace {

void writeStreaks(synth::Song& song) {
    const HitGrid hits = swarmStreakGrid();
    const double start = cut::swarm;
    const double end = cut::flashes;
    // Bar 1 starts on the first streak; bar 0 holds the cut and the three-second intro streak.
    const Grid eighths{hits.mainHits.front() - 3.66, 0.305};
    auto barTime = [&](int bar) { return eighths.at(bar * 12); };
    constexpr float roots[5] = {38.0f, 38.0f, 46.0f, 41.0f, 45.0f}; // Dm Dm Bb F A
    constexpr bool minors[5] = {true, true, false, false, false};

    addHit(track(song, Instrument::Crash), start, 1.0f);
    addHit(track(song, Instrument::Boom), start, 0.8f);
    // The title faded to black: a reversed cymbal pulls the swarm in instead of a wall of sound.
    addHit(track(song, Instrument::Swell), start - leadInGap, 1.0f);
    for (double t : hits.mainHits) {
        addHit(track(song, Instrument::HeavyKick), t, 1.0f);
        addHit(track(song, Instrument::Clap), t, 0.5f);
    }
    // Twelve-eight groove around the streak hits: snare on the third pulse, kick pick-ups.
    addPattern(track(song, Instrument::Kick), eighths, 12, 3, "-------x-o--", start, end, 0.85f);
    addPattern(track(song, Instrument::Snare), eighths, 12, 3, "------X----.", start, end);
    // Bar 1 hats only on the beats; the full triplet swing from bar 2.
    addPattern(track(song, Instrument::Hat), eighths, 12, 1, "x..x..x..x..", start, end, 0.8f);
    addPattern(track(song, Instrument::Hat), eighths, 24, 2, "x.ox.ox.ox.o", start, end);
    addPattern(track(song, Instrument::Hat), eighths, 2, 1, "..o..o..o.", start, end, 0.8f);
    addPattern(track(song, Instrument::Tom), eighths, 3 * 12, 1, "---------xxX", start, end, 0.8f, 64.0f);

    // The swirl and the pads open up over the first three bars.
    lowPassSweep(track(song, Instrument::Pluck), start, barTime(3), 1200.0f, 8000.0f);
    levelRamp(track(song, Instrument::Pad), start, barTime(3), -5.0f, 0.0f);
    for (int bar = 0; bar < 4; ++bar) {
        const float r = roots[bar];
        const float third = minors[bar] ? 3.0f : 4.0f;
        const double t0 = std::max(start, barTime(bar));
        const double t1 = std::min(end, barTime(bar + 1));
        addChord(track(song, Instrument::Pad), t0, t1 - t0, {r + 24, r + 24 + third, r + 31, r + 36}, 0.75f);
        // Bar 0 is the intro streak: the boom carries the low end alone until the groove starts.
        if (bar > 0) {
            // Dotted-quarter bass: root, octave, root, fifth.
            const float figure[4] = {0, 12, 0, 7};
            for (int b = 0; b < 4; ++b) {
                addNote(track(song, Instrument::Bass), eighths.at(bar * 12 + b * 3), 0.305 * 2.6,
                        r + figure[b], b == 0 ? 1.0f : 0.75f);
                addNote(track(song, Instrument::SubBass), eighths.at(bar * 12 + b * 3), 0.305 * 2.8, r, 0.8f);
            }
        }
        // The swirl: sixteenth triplets up and down the chord, panned side to side.
        const float swirl[6] = {r + 24, r + 24 + third, r + 31, r + 36, r + 31, r + 24 + third};
        for (int s = 0; s < 24; ++s) {
            const double t = eighths.at(bar * 12 + s * 0.5);
            if (t < start + 0.3 || t >= end) continue;
            const float v = (s % 6 == 0 ? 0.85f : 0.55f) * (bar == 0 ? 0.5f + 0.02f * s : 1.0f);
            addNote(track(song, Instrument::Pluck), t, 0.13, swirl[s % 6] + (s % 12 >= 6 ? 12.0f : 0.0f), v,
                    s % 2 ? 0.5f : -0.5f);
        }
    }
    // A long, soaring line over bars 1 - 3.
    const Grid beats{eighths.origin, 0.305 * 3};
    addMelody(track(song, Instrument::Lead), beats, 4, "A5:2 G5:1 F5:1 | F5:2 D5:1 Bb5:1 | A5:3 C6:1", 0.8f,
              0.0f, 0.97f);
    // The camera's view switches land on bells.
    // (A cut within 150 ms of a streak is left to the kick: two attacks that close smear the hit.)
    for (double t : swarmCameraCuts(start + 3.0, end)) {
        bool nearHit = false;
        for (double h : hits.mainHits) nearHit = nearHit || std::fabs(h - t) < 0.15;
        if (!nearHit) addNote(track(song, Instrument::Bell), t, 0.8, 86.0f, 0.5f, 0.4f);
    }
    // Into the flashes: a snare run from the first cut to the star ball.
    addRiser(track(song, Instrument::Riser), hits.mainHits.back(), 3.2, 0.8f);
}

void writeFlashes(synth::Song& song) {
    const HitGrid hits = swarmFlashGrid();
    const double start = cut::flashes;
    const double end = cut::starBall;
    const Grid beats{hits.mainHits.front(), 0.45};
    const Grid sixteenths{beats.origin, beats.step / 4};
    constexpr float roots[4] = {38.0f, 46.0f, 41.0f, 48.0f}; // Dm Bb F C, one per flash
    constexpr bool minors[4] = {true, false, false, false};

    // The first flash already cuts in 300 ms early: a snare flurry across that gap.
    addPattern(track(song, Instrument::Snare), Grid{start, 0.1}, 0, 1, "xxX", start, beats.origin, 0.9f);
    for (double t : hits.mainHits) {
        addHit(track(song, Instrument::HeavyKick), t, 1.0f);
        addHit(track(song, Instrument::Crash), t, 0.8f);
    }
    // The last two beats before the star ball drop the groove: only the riser runs on.
    const double breath = beats.at(30);
    addPattern(track(song, Instrument::Kick), beats, 1, 29, "x", start, breath, 0.9f);
    addPattern(track(song, Instrument::Clap), beats, 0, 8, "-x-x", start, breath);
    // The open hat waits for the second flash; the bass filter opens over the first two.
    addPattern(track(song, Instrument::OpenHat), sixteenths, 32, 22, "--x-", start, breath);
    addPattern(track(song, Instrument::Hat), sixteenths, 0, 30, "o.x.", start, breath, 0.8f);
    lowPassSweep(track(song, Instrument::Bass), start, beats.at(16), 350.0f, 4000.0f);

    for (int flash = 0; flash < 4; ++flash) {
        const float r = roots[flash];
        const float third = minors[flash] ? 3.0f : 4.0f;
        const double t0 = beats.at(flash * 8);
        const double t1 = std::min(end, beats.at(flash * 8 + 8));
        addChord(track(song, Instrument::Pad), t0, t1 - t0, {r + 24, r + 24 + third, r + 31, r + 34 + third},
                 0.7f);
        addChord(track(song, Instrument::Stab), t0, 0.3, {r + 24, r + 24 + third, r + 31, r + 36}, 1.0f);
        // Rolling off-beat bass: the kick owns the beat, the bass the three sixteenths after it.
        for (int b = 0; b < 8; ++b) {
            for (int s = 1; s < 4; ++s) {
                const double t = sixteenths.at((flash * 8 + b) * 4 + s);
                if (t >= end) continue;
                addNote(track(song, Instrument::Bass), t, 0.09, r + (s == 2 ? 12.0f : 0.0f),
                        s == 2 ? 0.9f : 0.7f);
            }
            if (beats.at(flash * 8 + b) < end)
                addNote(track(song, Instrument::SubBass), beats.at(flash * 8 + b), 0.4, r, 0.7f);
        }
    }
    // The hook: a sixteenth figure answering each flash.
    const Grid hookGrid = sixteenths;
    for (int flash = 0; flash < 4; ++flash) {
        addMelody(track(song, Instrument::Lead), hookGrid, flash * 32 + 2,
                  "D5:2 F5:2 A5:3 G5:1 F5:2 E5:2 D5:2 A4:2 -:2 D5:1 E5:1 F5:2 G5:4", 0.8f, 0.0f, 0.85f);
    }
    // Breath before the star ball.
    addRiser(track(song, Instrument::Riser), end, 1.8, 1.0f);
}

} // namespace

void writeSwarm(synth::Song& song) {
    writeStreaks(song);
    writeFlashes(song);
}

} // namespace score
