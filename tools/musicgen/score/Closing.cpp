// Closing, 246 - 286.5 s: the title's theme comes back on the room's 1400 ms pulse, fuller, and
// fades with the picture at the end.
#include "score/Instruments.h"
#include "score/SceneGrids.h"
#include "score/Sections.h"
#include "score/Theme.h"

#include <utility>

namespace score {

void writeClosing(synth::Song& song) {
    const HitGrid hits = closingGrid();
    // Bar 0 starts one pulse before the first main hit, just before the cut.
    const Grid eighths{hits.mainHits.front() - 1.4, 0.2};
    auto barTime = [&](int bar) { return eighths.at(bar * themeBarSteps); };
    const double start = cut::closing;

    addHit(track(song, Instrument::Crash), start, 1.0f);
    addHit(track(song, Instrument::Boom), start, 0.9f);
    for (double t : hits.mainHits) addHit(track(song, Instrument::HeavyKick), t, 0.95f);
    for (double t : hits.afterBeats) {
        addHit(track(song, Instrument::Clap), t, 0.85f);
        addHit(track(song, Instrument::Rim), t, 0.45f, -0.2f);
    }
    // Bars 18 - 21 break down under the soft tune: hats and bass step out, the arpeggio closes and
    // reopens, and a tom run brings the groove back at bar 22.
    const double breakFrom = barTime(18);
    const double breakTo = barTime(22);
    for (auto [from, to] : {std::pair{start, breakFrom}, std::pair{breakTo, cut::fadeStart}}) {
        addPattern(track(song, Instrument::Hat), eighths, 1 * themeBarSteps, 26, "-o.o-x.", from, to);
        addPattern(track(song, Instrument::OpenHat), eighths, 9 * themeBarSteps, 16, "------x", from, to,
                   0.7f);
    }
    lowPassSweep(track(song, Instrument::Pluck), breakFrom, breakTo, 900.0f, 7000.0f);
    levelRamp(track(song, Instrument::Pad), breakFrom, breakTo, -4.0f, 0.0f);
    addPattern(track(song, Instrument::Tom), eighths, 21 * themeBarSteps, 1, "---xxxX", 0.0, cut::end, 0.8f,
               64.0f);
    addHit(track(song, Instrument::Crash), breakTo, 0.8f);
    for (int bar : {9, 17}) addHit(track(song, Instrument::Crash), barTime(bar), 0.85f);
    for (int bar : {8, 16}) {
        addPattern(track(song, Instrument::Tom), eighths, bar * themeBarSteps, 1, "----xxX", 0.0, cut::end,
                   0.8f, 67.0f);
        addPattern(track(song, Instrument::Snare), eighths, bar * themeBarSteps, 1, "-----.x", 0.0, cut::end,
                   0.7f);
    }

    addChord(track(song, Instrument::Pad), start, barTime(2) - start, themeChord(0), 0.7f);
    addThemePads(track(song, Instrument::Pad), eighths, 2, 26, 0.8f);
    addThemeBass(track(song, Instrument::Bass), track(song, Instrument::SubBass), eighths, 1, 17, 0.9f);
    addThemeBass(track(song, Instrument::Bass), track(song, Instrument::SubBass), eighths, 22, 5, 0.9f);
    for (int bar = 18; bar < 22; ++bar)
        addNote(track(song, Instrument::SubBass), barTime(bar), eighths.step * 6.8, themeRoot(bar) - 12.0f,
                0.45f);
    addThemeArpeggio(track(song, Instrument::Pluck), eighths, 1, 26, 0.5f);

    addThemeMelody(track(song, Instrument::Lead), eighths, 2, 6, 0.85f);
    addThemeMelody(track(song, Instrument::Bell), eighths, 2, 6, 0.4f, 12.0f);
    addThemeMelody(track(song, Instrument::Lead), eighths, 10, 8, 0.95f);
    addThemeMelody(track(song, Instrument::SoftLead), eighths, 10, 8, 0.55f, 12.0f);
    for (int bar = 10; bar < 18; ++bar)
        addChord(track(song, Instrument::Stab), eighths.at(bar * themeBarSteps + 4), 0.25, themeChord(bar),
                 0.6f);
    addThemeMelody(track(song, Instrument::SoftLead), eighths, 18, 8, 0.8f);

    // Last bars: the tune rests on A, bells ring out under the fade.
    addChord(track(song, Instrument::WarmPad), barTime(26), cut::fadeEnd - barTime(26), themeChord(0), 0.8f);
    for (int bar = 26; bar < 29; ++bar) {
        addNote(track(song, Instrument::Bell), barTime(bar), 1.2, 81.0f, 0.5f, -0.3f);
        addNote(track(song, Instrument::Bell), eighths.at(bar * themeBarSteps + 4), 1.0, 76.0f, 0.4f, 0.3f);
    }
}

} // namespace score
