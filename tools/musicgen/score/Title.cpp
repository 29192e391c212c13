// Title, 0 - 41.8 s: the theme grows out of the dark. The background pulses every 1400 ms with
// an after-beat 800 ms in, so the bar is seven eighths of 200 ms, counted from the first pulse.
#include "score/Instruments.h"
#include "score/SceneGrids.h"
#include "score/Sections.h"
#include "score/Theme.h"

namespace score {

void writeTitle(synth::Song& song) {
    const HitGrid hits = titleGrid();
    const Grid eighths{hits.mainHits.front(), 0.2};
    const double end = cut::swarm;
    // Bars from the first pulse: bar 3 is where the first word fades in (4.8 s), bar 8 the first
    // crossfade, bar 13 the second word, bar 21 the last word, bar 28 the fade to black.
    auto barTime = [&](int bar) { return eighths.at(bar * themeBarSteps); };

    // Heartbeat: a soft kick on every pulse until the groove arrives, the main kick after.
    for (size_t i = 0; i < hits.mainHits.size(); ++i) {
        const double t = hits.mainHits[i];
        if (t < barTime(8)) {
            addHit(track(song, Instrument::SoftKick), t, 0.8f + 0.03f * static_cast<float>(i));
        } else {
            addHit(track(song, Instrument::HeavyKick), t, t < barTime(13) ? 0.8f : 0.95f);
        }
    }
    for (double t : hits.afterBeats) {
        if (t >= end) continue;
        if (t < barTime(13)) {
            addHit(track(song, Instrument::Rim), t, t < barTime(3) ? 0.6f : 0.85f, 0.2f);
        } else if (t < barTime(28)) {
            addHit(track(song, Instrument::Clap), t, 0.9f);
            addHit(track(song, Instrument::Rim), t, 0.5f, 0.2f);
        }
    }
    // Hats between the accents once the groove is in.
    addPattern(track(song, Instrument::Hat), eighths, 8 * themeBarSteps, 20, "-o.o-x.", barTime(8),
               barTime(28));
    addPattern(track(song, Instrument::OpenHat), eighths, 13 * themeBarSteps, 15, "------x", barTime(13),
               barTime(28), 0.7f);
    // Tom runs into the second word and the last word.
    for (int bar : {12, 20}) {
        addPattern(track(song, Instrument::Tom), eighths, bar * themeBarSteps, 1, "----xxX", 0.0, end, 0.8f,
                   67.0f);
        addPattern(track(song, Instrument::Tom), eighths, bar * themeBarSteps, 1, "-----x-", 0.0, end, 0.7f,
                   62.0f);
    }
    for (int bar : {8, 13, 21}) addHit(track(song, Instrument::Crash), barTime(bar), bar == 8 ? 0.6f : 0.9f);

    // Harmony: a pad from the first beat, swelling in over the dark opening.
    // The heartbeat comes first; the pad and the drone swell in behind it.
    const double first = hits.mainHits.front();
    addChord(track(song, Instrument::Pad), first, eighths.at(2 * themeBarSteps) - first - 0.05, themeChord(0),
             0.7f);
    addThemePads(track(song, Instrument::Pad), eighths, 2, 26, 0.8f);
    // Out of the dark: the pads open over the first eight bars, the arpeggio over the next five.
    lowPassSweep(track(song, Instrument::Pad), 0.0, barTime(8), 500.0f, 5000.0f);
    lowPassSweep(track(song, Instrument::Pluck), barTime(8), barTime(13), 1000.0f, 9000.0f);
    addNote(track(song, Instrument::Drone), first, barTime(8) - first, 33.0f, 0.6f);

    // Bell figure while the first word hangs alone.
    for (int bar = 3; bar < 8; ++bar) {
        const std::vector<float> chord = themeChord(bar);
        addNote(track(song, Instrument::Bell), barTime(bar), 1.0, chord[2] + 12.0f, 0.6f, -0.3f);
        addNote(track(song, Instrument::Bell), eighths.at(bar * themeBarSteps + 4), 0.8, chord[3] + 12.0f,
                0.45f, 0.3f);
    }
    // The bass plays on through the bar the groove drops out in, so the swarm does not enter from
    // a hole.
    addThemeBass(track(song, Instrument::Bass), track(song, Instrument::SubBass), eighths, 3, 26, 0.85f);
    addThemeArpeggio(track(song, Instrument::Pluck), eighths, 8, 20, 0.55f);

    // The tune: gently first, then the full lead, then doubled an octave up for the last word.
    addThemeMelody(track(song, Instrument::SoftLead), eighths, 8, 6, 0.8f);
    addThemeMelody(track(song, Instrument::Lead), eighths, 14, 8, 0.85f);
    addThemeMelody(track(song, Instrument::Lead), eighths, 22, 6, 0.95f);
    addThemeMelody(track(song, Instrument::SoftLead), eighths, 22, 6, 0.6f, 12.0f);
    for (int bar = 22; bar < 28; ++bar)
        addChord(track(song, Instrument::Stab), eighths.at(bar * themeBarSteps + 4), 0.25, themeChord(bar),
                 0.6f);

    // Fade to black: the groove drops out, a riser pulls into the swarm.
    addRiser(track(song, Instrument::Riser), end, 2.2, 0.9f);
    addChord(track(song, Instrument::WarmPad), barTime(28), end - barTime(28), themeChord(0), 0.7f);
}

} // namespace score
