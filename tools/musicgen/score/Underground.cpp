// Cave (164 - 220 s): no beat in the pictures, a slow flight past greetings, so the music is a
// half-time dub at 120 bpm in D minor: sparse kick and snare, long echoes, a drone for the rock.
// Potko (220 - 246 s): the tower kicks every 1200 ms from its clock's 3.6 s and throbs every 600 ms
// from 18.6 s, each swell peaking some 350 ms in; the music is 100 bpm electro, kick on the tower's
// swells, acid bass in sixteenths, four-on-the-floor once the throb starts.
#include "score/Instruments.h"
#include "score/SceneGrids.h"
#include "score/Sections.h"
#include "score/Writer.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace score {

void writeCave(synth::Song& song) {
    const double start = cut::cave;
    const double end = cut::potko;
    const Grid beats{start, 0.5};
    const Grid sixteenths{start, 0.125};
    auto barTime = [&](int bar) { return beats.at(bar * 4); };
    const int bars = 28;
    // Dm7, Bbmaj7, Gm7, A7sus: two bars each. Bars 16 - 19 wander to Gm7 Gm7 Bbmaj7 C under the
    // high line, and the last four bars come home by Bbmaj7 C Dm7 Dm7.
    enum Chord { Dm7, Bbmaj7, Gm7, A7sus, C };
    constexpr Chord turn[4] = {Dm7, Bbmaj7, Gm7, A7sus};
    auto chordAt = [&](int bar) {
        if (bar >= 16 && bar < 20)
            return std::array<Chord, 4>{Gm7, Gm7, Bbmaj7, C}[static_cast<size_t>(bar - 16)];
        if (bar >= 24) return std::array<Chord, 4>{Bbmaj7, C, Dm7, Dm7}[static_cast<size_t>(bar - 24) % 4];
        return turn[(bar / 2) % 4];
    };
    auto rootAt = [&](int bar) {
        constexpr float roots[5] = {38.0f, 46.0f, 43.0f, 45.0f, 36.0f};
        return roots[chordAt(bar)];
    };
    auto chordOf = [&](int bar) {
        const float r = rootAt(bar) + 12.0f;
        switch (chordAt(bar)) {
        case Dm7:
            return std::vector<float>{r, r + 7, r + 10, r + 15};
        case Bbmaj7:
            return std::vector<float>{r, r + 4, r + 7, r + 11};
        case Gm7:
            return std::vector<float>{r, r + 3, r + 7, r + 10};
        case A7sus:
            return std::vector<float>{r, r + 5, r + 7, r + 10};
        case C:
            return std::vector<float>{r, r + 4, r + 7, r + 14};
        }
        return std::vector<float>{r};
    };

    addHit(track(song, Instrument::Boom), start, 1.0f);
    addNote(track(song, Instrument::Drone), start, end - start - 2.0, 26.0f, 0.9f);
    addNote(track(song, Instrument::Drone), barTime(8), end - barTime(8) - 2.0, 33.0f, 0.6f);

    // Drums come in after four bars; bars 20 - 23 drop them again.
    auto drums = [&](int bar) { return bar >= 4 && !(bar >= 20 && bar < 24); };
    for (int bar = 0; bar < bars; ++bar) {
        const double t0 = barTime(bar);
        const std::vector<float> c = chordOf(bar);
        if (bar % 2 == 0 || chordAt(bar) != chordAt(bar - 1)) {
            const int length = chordAt(bar + 1) == chordAt(bar) ? 2 : 1;
            addChord(track(song, Instrument::WarmPad), t0, length * 4 * beats.step * 0.98, c, 0.6f);
        }
        if (drums(bar)) {
            addPattern(track(song, Instrument::Kick), sixteenths, bar * 16, 1, "X-----x---o-----", start,
                       end);
            addPattern(track(song, Instrument::Snare), sixteenths, bar * 16, 1, "--------X-------", start,
                       end, 0.9f);
            // Swung sixteenths: the lazy feel of the dub.
            addPattern(track(song, Instrument::Rim), sixteenths, bar * 16, 1, "---x-----x---.-x", start, end,
                       0.8f, 60.0f, 0.2f, 0.22);
            addPattern(track(song, Instrument::Hat), sixteenths, bar * 16, 1, "o-x-o-x-o-x-o.x.", start, end,
                       0.8f, 60.0f, -0.2f, 0.22);
            // Sub bass: root on one, a slide-like octave on the and of two.
            const float r = rootAt(bar);
            addNote(track(song, Instrument::SubBass), t0, 0.9, r, 0.8f);
            addNote(track(song, Instrument::SubBass), beats.at(bar * 4 + 1.5), 0.4, r + 12.0f, 0.55f);
            addNote(track(song, Instrument::SubBass), beats.at(bar * 4 + 2.5), 0.9, r, 0.7f);
        }
        // Dub stabs on the off-beat, sent into the long echoes.
        if (bar >= 2) {
            for (int b : {1, 3})
                addChord(track(song, Instrument::Stab), beats.at(bar * 4 + b) + 0.25, 0.1,
                         {c[1] + 12, c[2] + 12, c[3] + 12}, bar >= 20 && bar < 24 ? 0.8f : 0.55f);
        }
    }
    // The lantern: a lone bell line in the intro and the break.
    for (int bar : {0, 1, 2, 3, 20, 21, 22, 23}) {
        const std::vector<float> c = chordOf(bar);
        addNote(track(song, Instrument::Bell), barTime(bar), 1.5, c[3] + 12.0f, 0.55f, -0.4f);
        addNote(track(song, Instrument::Bell), beats.at(bar * 4 + 2.5), 1.0, c[2] + 12.0f, 0.4f, 0.4f);
    }
    // The tune, twice: a slow minor line over the groove.
    const char* line =
        "A5:3 G5:0.5 F5:0.5 | E5:2 D5:2 | F5:3 E5:1 | D5:4 | G5:3 A5:1 | Bb5:2 A5:2 | E5:3 F5:1 | E5:4";
    addMelody(track(song, Instrument::Lead), beats, 8 * 4, line, 0.75f);
    addMelody(track(song, Instrument::Lead), beats, 24 * 4,
              "A5:3 G5:0.5 F5:0.5 | E5:2 D5:2 | F5:3 E5:1 | A5:4", 0.85f);
    addMelody(track(song, Instrument::SoftLead), beats, 16 * 4, line, 0.5f, 12.0f);
    addRiser(track(song, Instrument::Riser), end, 4.0, 1.0f);
    addHit(track(song, Instrument::Swell), end - leadInGap, 0.8f);
    // The echoes of the dub stabs open out from the intro into the groove.
    lowPassSweep(track(song, Instrument::Stab), barTime(2), barTime(8), 900.0f, 6000.0f);
}

void writePotko(synth::Song& song) {
    const HitGrid kicks = potkoKickGrid();
    const HitGrid throb = potkoThrobGrid();
    const double start = cut::potko;
    const double end = cut::closing;
    // Beat 0 is where the tower clock reads kPotkoAccent, one 600 ms beat per throb.
    const Grid beats{kicks.mainHits.front() - 6 * 0.6, 0.6};
    const Grid sixteenths{beats.origin, 0.15};
    auto barTime = [&](int bar) { return beats.at(bar * 4); };
    // Am, G, F, E: the falling line under the tower.
    constexpr float roots[4] = {45.0f, 43.0f, 41.0f, 40.0f};
    constexpr bool minors[4] = {true, false, false, false};

    addHit(track(song, Instrument::Crash), start, 1.0f);
    addHit(track(song, Instrument::Boom), start, 1.0f);
    // The blur clears over the first two seconds: a pad and a rising acid line over the intro.
    addChord(track(song, Instrument::Pad), start, kicks.mainHits.front() - start,
             {57.0f, 60.0f, 64.0f, 69.0f}, 0.8f);
    addRiser(track(song, Instrument::Riser), kicks.mainHits.front(), kicks.mainHits.front() - start - 0.6,
             0.8f);

    for (double t : kicks.mainHits) addHit(track(song, Instrument::HeavyKick), t, 1.0f);
    for (double t : throb.mainHits) addHit(track(song, Instrument::HeavyKick), t, 0.95f);
    const double throbStart = throb.mainHits.front();
    // Backbeat between the tower's kicks, then claps on two and four over the throb.
    addPattern(track(song, Instrument::Snare), beats, 7, 13, "X-", kicks.mainHits.front(), throbStart);
    addPattern(track(song, Instrument::Clap), beats, 32, 8, "-x", throbStart, end);
    addPattern(track(song, Instrument::Hat), sixteenths, 6 * 4, 48, "x.o.", kicks.mainHits.front(), end, 0.9f,
               60.0f, 0.15f, 0.12);
    addPattern(track(song, Instrument::OpenHat), sixteenths, 31 * 4, 14, "--x-", throbStart, end);
    addPattern(track(song, Instrument::Tom), sixteenths, 30 * 4, 1, "x-x-xxXX", 0.0, throbStart, 0.8f, 60.0f);

    const int firstBar = 1; // 222.749 s
    const int lastBar = 11; // the bar holding the cut to the closing
    for (int bar = firstBar; bar < lastBar; ++bar) {
        const float r = roots[(bar - firstBar) % 4];
        const float third = minors[(bar - firstBar) % 4] ? 3.0f : 4.0f;
        const double t0 = barTime(bar);
        const double t1 = std::min(end, barTime(bar + 1));
        // Acid sixteenths: accents and octave jumps give the tower its writhing.
        const char* accents = "X.xoX.ox.xX.o.xo";
        for (int s = 0; s < 16; ++s) {
            const double t = sixteenths.at(bar * 16 + s);
            if (t < kicks.mainHits.front() - 0.01 || t >= end) continue;
            const char a = accents[s];
            const float v = a == 'X' ? 1.0f : a == 'x' ? 0.8f : a == 'o' ? 0.6f : 0.4f;
            const float octave = (s == 6 || s == 11 || s == 14) ? 12.0f : 0.0f;
            addNote(track(song, Instrument::Acid), t, 0.11, r + octave, v);
        }
        if (t0 >= kicks.mainHits.front())
            addNote(track(song, Instrument::SubBass), t0, t1 - t0, r - 12.0f, 0.55f);
        addChord(track(song, Instrument::Pad), std::max(t0, kicks.mainHits.front()),
                 t1 - std::max(t0, kicks.mainHits.front()), {r + 12, r + 12 + third, r + 19}, 0.55f);
        if (t0 >= throbStart - 0.7) {
            for (int b = 0; b < 4; ++b)
                addChord(track(song, Instrument::Stab), beats.at(bar * 4 + b) + 0.3, 0.1,
                         {r + 24, r + 24 + third, r + 31}, 0.6f);
        }
    }
    // Robot arpeggio over bars 5 - 8: square sixteenths up each chord of the falling line.
    const char* robot[4] = {
        "A5:1 E5:1 C6:1 E5:1 A5:1 E5:1 B5:1 E5:1", "G5:1 D5:1 B5:1 D5:1 G5:1 D5:1 A5:1 D5:1",
        "F5:1 C5:1 A5:1 C5:1 F5:1 C5:1 G5:1 C5:1", "E5:1 B4:1 G#5:1 B4:1 E5:1 B4:1 F5:1 B4:1"};
    for (int i = 0; i < 4; ++i)
        for (int half = 0; half < 2; ++half)
            addMelody(track(song, Instrument::Pluck), sixteenths, (5 + i) * 16 + half * 8, robot[i], 0.7f,
                      0.0f, 0.7f);
    addMelody(track(song, Instrument::Lead), beats, 9 * 4, "A5:2 C6:2 | B5:2 G5:2", 0.85f);
    // The last throb falls just before the cut: the riser gives way to it.
    addRiser(track(song, Instrument::Riser), throb.mainHits.back(), 1.6, 0.9f);
}

} // namespace score
