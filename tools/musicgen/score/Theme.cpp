#include "score/Theme.h"

namespace score {

namespace {
// Two bars per chord: Am, F, C, G.
constexpr float roots[4] = {45.0f, 41.0f, 48.0f, 43.0f};
constexpr bool minors[4] = {true, false, false, false};

// The tune, two bars (14 eighths) per chord.
constexpr const char* melody[4] = {
    "E5:3 A5:1 G5:2 E5:1 D5:2 E5:2 C5:3",
    "C5:3 F5:1 E5:2 C5:1 A4:2 C5:2 D5:3",
    "E5:3 G5:1 C6:2 B5:1 G5:2 E5:2 D5:3",
    "D5:3 B4:1 D5:2 G5:1 E5:4 D5:3",
};
int chordIndex(int bar) { return ((bar % 8) + 8) % 8 / 2; }
} // namespace

float themeRoot(int bar) { return roots[chordIndex(bar)]; }
bool themeMinor(int bar) { return minors[chordIndex(bar)]; }

std::vector<float> themeChord(int bar) {
    const float r = themeRoot(bar) + 12.0f;
    // Add the ninth for colour; minor chords keep their third low.
    return themeMinor(bar) ? std::vector<float>{r, r + 7, r + 12, r + 14, r + 15}
                           : std::vector<float>{r, r + 7, r + 11, r + 16, r + 19};
}

void addThemeMelody(synth::Track& track, const Grid& grid, int firstBar, int bars, float velocity,
                    float transpose) {
    // Melody lines start on even bars of the cycle; odd starts begin half-way into a phrase.
    for (int bar = firstBar; bar < firstBar + bars; bar += 2) {
        const int chord = chordIndex(bar);
        addMelody(track, grid, static_cast<double>(bar * themeBarSteps), melody[chord], velocity, transpose);
    }
}

void addThemeBass(synth::Track& bass, synth::Track& sub, const Grid& grid, int firstBar, int bars,
                  float velocity) {
    struct Step {
        double at;
        double length;
        float interval;
        float accent;
    };
    constexpr Step figure[5] = {
        {0, 1.6, 0, 1.0f}, {2, 0.8, 0, 0.7f}, {3, 0.8, 12, 0.8f}, {4, 1.6, 0, 0.95f}, {6, 0.8, 7, 0.7f}};
    for (int bar = firstBar; bar < firstBar + bars; ++bar) {
        const float root = themeRoot(bar);
        const double base = bar * themeBarSteps;
        for (const Step& s : figure)
            addNote(bass, grid.at(base + s.at), grid.step * s.length, root + s.interval, velocity * s.accent);
        addNote(sub, grid.at(base), grid.step * 6.8, root - 12.0f, velocity * 0.9f);
    }
}

void addThemeArpeggio(synth::Track& track, const Grid& grid, int firstBar, int bars, float velocity) {
    for (int bar = firstBar; bar < firstBar + bars; ++bar) {
        const float r = themeRoot(bar) + 24.0f;
        const float third = themeMinor(bar) ? 3.0f : 4.0f;
        const float tones[7] = {r, r + 7, r + 12, r + 12 + third, r + 12, r + 7, r + third};
        for (int i = 0; i < themeBarSteps; ++i) {
            const float accent = (i == 0 || i == 4) ? 1.0f : 0.7f;
            const float pan = (i % 2 == 0) ? -0.35f : 0.35f;
            addNote(track, grid.at(bar * themeBarSteps + i), grid.step * 0.8, tones[i], velocity * accent,
                    pan);
        }
    }
}

void addThemePads(synth::Track& pad, const Grid& grid, int firstBar, int bars, float velocity) {
    for (int bar = firstBar; bar < firstBar + bars; bar += 2)
        addChord(pad, grid.at(bar * themeBarSteps), grid.step * themeBarSteps * 2 * 0.97, themeChord(bar),
                 velocity);
}

} // namespace score
