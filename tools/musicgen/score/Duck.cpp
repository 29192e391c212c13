// Duck, 126 - 157 s: the tub bobs and the wings flap on a 984.83 ms sine, so the music bounces
// at two beats per bob (121.8 bpm) in C major, a kick on every landing. When the four ducks drop
// away one after another, four falling plops follow them. Then the cube-ball boils (157 - 164)
// over a held chord with bubbling blips and a riser into the cave.
#include "score/Instruments.h"
#include "score/SceneGrids.h"
#include "score/Sections.h"
#include "score/Writer.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace score {

namespace {
// The duck clock reads t - 115499 ms; its ducks fall from c = 20000 (one second long) and the
// three small ones from 21000, 21500 and 22000 (0.8 s each).
constexpr double duckClockOffset = 115.499;
constexpr double duckDrops[4] = {20.0, 21.0, 21.5, 22.0};
// The camera's wide swing eases in over c = 17000 .. 21000.
constexpr double swingStart = 17.0;

// C Am F G; bars 8 - 9 turn to Am Em before the tune's second half.
constexpr float roots[4] = {48.0f, 45.0f, 41.0f, 43.0f};
constexpr bool minors[4] = {false, true, false, false};
float rootOf(int bar) {
    if (bar == 8) return 45.0f;
    if (bar == 9) return 40.0f;
    return roots[bar % 4];
}
bool minorAt(int bar) { return bar == 8 || bar == 9 || minors[bar % 4]; }
} // namespace

void writeDuck(synth::Song& song) {
    const HitGrid hits = duckGrid();
    const double start = cut::duck;
    const double end = cut::starBallAgain;
    const double bob = hits.mainHits[1] - hits.mainHits[0];
    const Grid beats{hits.mainHits.front(), bob / 2};
    const Grid eighths{beats.origin, beats.step / 2};
    auto barTime = [&](int bar) { return beats.at(bar * 4); };
    const int bars = 16;
    const double swing = duckClockOffset + swingStart;
    const double firstDrop = duckClockOffset + duckDrops[0];

    // The crash lands with the first kick, a breath after the cut.
    addHit(track(song, Instrument::Crash), hits.mainHits.front(), 0.9f);
    addHit(track(song, Instrument::Swell), start - leadInGap, 0.6f);
    for (double t : hits.mainHits) addHit(track(song, Instrument::HeavyKick), t, 1.0f);
    // The clap and the rim step out while the ducks fall and come back with the swing.
    const double fallFrom = barTime(4);
    const double fallTo = barTime(6);
    for (auto [from, to] : {std::pair{start, fallFrom}, std::pair{fallTo, end}}) {
        addPattern(track(song, Instrument::Clap), beats, 0, bars, "-x-x", from, to);
        addPattern(track(song, Instrument::Rim), eighths, 0, bars, "---x--x-", from, to, 0.8f);
    }
    // A little shuffle on the off-beat hats: the bounce of the bob.
    addPattern(track(song, Instrument::Hat), eighths, 0, bars * 4, "-x", start, end, 1.0f, 60.0f, 0.15f, 0.1);
    addPattern(track(song, Instrument::Hat), eighths, 0, bars * 4, ".-", swing, end, 0.7f);
    // The bass opens over the first four bars; the pads sink under the falling ducks and rise again.
    lowPassSweep(track(song, Instrument::Bass), start, fallFrom, 400.0f, 5000.0f);
    levelRamp(track(song, Instrument::Pad), fallFrom, barTime(8), -3.0f, 0.0f);
    // A tom fill into the boiling ball.
    addPattern(track(song, Instrument::Tom), Grid{barTime(15), eighths.step}, 0, 1, "x-xxXX", start, end,
               0.75f, 64.0f);

    for (int bar = 0; bar < bars; ++bar) {
        const double t0 = barTime(bar);
        if (t0 >= end) break;
        const float r = rootOf(bar);
        const float third = minorAt(bar) ? 3.0f : 4.0f;
        const bool dropping = t0 >= firstDrop - 2.0 && t0 < firstDrop + 2.5;
        // Bouncing octave bass: down on the landing, up in between.
        for (int e = 0; e < 8; ++e) {
            const double t = eighths.at(bar * 8 + e);
            if (t >= end || dropping) continue;
            addNote(track(song, Instrument::Bass), t, eighths.step * 0.6, r + (e % 2 ? 12.0f : 0.0f),
                    e % 2 ? 0.75f : 1.0f);
        }
        addNote(track(song, Instrument::SubBass), t0, std::min(4 * beats.step * 0.95, end - t0), r - 12.0f,
                0.6f);
        addChord(track(song, Instrument::Pad), t0, std::min(4 * beats.step, end - t0),
                 {r + 12, r + 12 + third, r + 19, r + 24}, dropping ? 0.8f : 0.5f);
        // Off-beat organ-ish stabs once the camera swings wide.
        if (t0 >= swing && !dropping) {
            for (int b = 0; b < 4; ++b)
                addChord(track(song, Instrument::Stab), beats.at(bar * 4 + b) + eighths.step, 0.12,
                         {r + 24, r + 24 + third, r + 31}, 0.55f);
        }
    }
    // The quacky tune: FM blips, in call (two bars) and reply (two bars).
    const char* call = "E5:1 G5:1 -:1 G5:1 A5:1 G5:1 E5:1 C5:1 | D5:1 E5:1 -:1 D5:1 C5:2 -:2";
    const char* reply = "C5:1 E5:1 -:1 E5:1 F5:1 E5:1 C5:1 A4:1 | B4:1 C5:1 D5:1 B4:1 G4:2 -:2";
    for (int bar = 0; bar < bars; bar += 4) {
        if (barTime(bar) >= firstDrop - 2.0 && barTime(bar) < firstDrop + 2.5) continue;
        if (bar == 0) continue;
        addMelody(track(song, Instrument::Blip), eighths, bar * 8, call, 0.85f, 12.0f, 0.8f);
        addMelody(track(song, Instrument::Blip), eighths, (bar + 2) * 8, reply, 0.85f, 12.0f, 0.8f);
    }
    // A longer lead line over the second half.
    const int leadBar = 10;
    addMelody(track(song, Instrument::SoftLead), beats, leadBar * 4,
              "A5:3 F5:1 | G5:3 B5:1 | C6:2 G5:2 | A5:4 | C6:3 A5:1 | B5:2 D6:2", 0.8f);

    // Four ducks fall away.
    for (int d = 0; d < 4; ++d) {
        const double t = duckClockOffset + duckDrops[d];
        addNote(track(song, Instrument::Plop), t, d == 0 ? 0.9 : 0.6, d == 0 ? 60.0f : 72.0f - 3.0f * d, 0.9f,
                -0.5f + 0.33f * d);
        addHit(track(song, Instrument::Tom), t, 0.6f, 0.0f, 60.0f - 2.0f * d);
    }
}

void writeBoilingBall(synth::Song& song) {
    const double start = cut::starBallAgain;
    const double end = cut::cave;
    addHit(track(song, Instrument::Crash), start, 0.9f);
    addHit(track(song, Instrument::Boom), start, 0.8f);
    addChord(track(song, Instrument::WarmPad), start, end - start, {50.0f, 57.0f, 60.0f, 64.0f, 65.0f}, 0.9f);
    // The ball comes to the boil: the chord starts low and muffled and opens as the bubbles thicken.
    levelRamp(track(song, Instrument::WarmPad), start, end, -6.0f, 1.0f);
    lowPassSweep(track(song, Instrument::WarmPad), start, end, 500.0f, 7000.0f);
    addNote(track(song, Instrument::Drone), start, end - start + 1.0, 38.0f, 0.8f);
    // Bubbles: blips at irregular but fixed sixteenths, rising in density.
    synth::Rng rng(157u);
    const double step = 0.1231;
    for (double t = start + 0.2; t < end - 0.3; t += step) {
        const float density = static_cast<float>((t - start) / (end - start));
        if (rng.nextUnit() > 0.35f + 0.5f * density) continue;
        const float pitch = 62.0f + std::floor(rng.nextUnit() * 5.0f) * 5.0f;
        addNote(track(song, Instrument::Blip), t, 0.06, pitch, 0.35f + 0.3f * density,
                rng.nextBipolar() * 0.8f);
    }
    addRiser(track(song, Instrument::Riser), end, 3.5, 1.0f);
    addHit(track(song, Instrument::Swell), end - leadInGap, 0.8f);
    addPattern(track(song, Instrument::Snare), Grid{end - 1.0, 0.0625}, 0, 1, "o.o.o.o.xoxoxXxX", start, end,
               0.8f);
}

} // namespace score
