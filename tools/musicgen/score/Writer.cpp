#include "score/Writer.h"

#include <cstdlib>
#include <string>

namespace score {

float pitchOf(std::string_view name) {
    if (name.empty() || name[0] == '-') return -1.0f;
    static constexpr int semitone[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    const char letter = name[0];
    if (letter < 'A' || letter > 'G') return -1.0f;
    int pitch = semitone[letter - 'A'];
    size_t i = 1;
    if (i < name.size() && name[i] == '#') {
        ++pitch;
        ++i;
    } else if (i < name.size() && name[i] == 'b') {
        --pitch;
        ++i;
    }
    const int octave = std::atoi(std::string(name.substr(i)).c_str());
    return static_cast<float>(12 * (octave + 1) + pitch);
}

void addNote(synth::Track& track, double start, double duration, float pitch, float velocity, float pan) {
    synth::Note n;
    n.start = start;
    n.duration = static_cast<float>(duration);
    n.pitch = pitch;
    n.velocity = velocity;
    n.pan = pan;
    track.notes.push_back(n);
}

void addHit(synth::Track& track, double start, float velocity, float pan, float pitch) {
    addNote(track, start, 0.1, pitch, velocity, pan);
}

void addChord(synth::Track& track, double start, double duration, const std::vector<float>& pitches,
              float velocity) {
    for (size_t i = 0; i < pitches.size(); ++i) {
        // Spread the chord tones a little across the field.
        const float pan =
            pitches.size() < 2 ? 0.0f : -0.3f + 0.6f * static_cast<float>(i) / (pitches.size() - 1);
        addNote(track, start, duration, pitches[i], velocity, pan);
    }
}

double addMelody(synth::Track& track, const Grid& grid, double startStep, std::string_view text,
                 float velocity, float transpose, float gate) {
    double step = startStep;
    size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '|')) ++pos;
        if (pos >= text.size()) break;
        size_t end = text.find(' ', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view token = text.substr(pos, end - pos);
        pos = end;
        const size_t colon = token.find(':');
        const std::string_view name = token.substr(0, colon);
        const double length =
            colon == std::string_view::npos ? 1.0 : std::atof(std::string(token.substr(colon + 1)).c_str());
        const float pitch = pitchOf(name);
        if (pitch >= 0.0f)
            addNote(track, grid.at(step), grid.step * length * gate, pitch + transpose, velocity);
        step += length;
    }
    return step;
}

void addPattern(synth::Track& track, const Grid& grid, double startStep, int repeats,
                std::string_view pattern, double from, double to, float velocityScale, float pitch, float pan,
                double swing) {
    for (int r = 0; r < repeats; ++r) {
        for (size_t i = 0; i < pattern.size(); ++i) {
            float v = 0.0f;
            switch (pattern[i]) {
            case 'X':
                v = 1.0f;
                break;
            case 'x':
                v = 0.8f;
                break;
            case 'o':
                v = 0.6f;
                break;
            case '.':
                v = 0.35f;
                break;
            default:
                v = 0.0f;
                break;
            }
            if (v == 0.0f) continue;
            const size_t step = r * pattern.size() + i;
            const double t = grid.at(startStep + static_cast<double>(step) + (step % 2 == 1 ? swing : 0.0));
            if (t < from || t >= to) continue;
            addHit(track, t, v * velocityScale, pan, pitch);
        }
    }
}

namespace {
// The 20 ms on either side let the value glide instead of stepping.
constexpr double edge = 0.02;
void addSpan(synth::Automation& a, double from, double to, float rest, float start, float end) {
    // A span that begins where the previous one is still gliding home takes over from there.
    while (!a.points.empty() && a.points.back().at >= from - edge) a.points.pop_back();
    a.to(from - edge, rest).to(from, start).to(to, end).to(to + edge, rest);
}
} // namespace

void levelRamp(synth::Track& track, double from, double to, float startDb, float endDb) {
    addSpan(track.levelDb, from, to, 0.0f, startDb, endDb);
}

void lowPassSweep(synth::Track& track, double from, double to, float startHz, float endHz) {
    addSpan(track.lowPassHz, from, to, openHz, startHz, endHz);
}

void addRiser(synth::Track& riser, double hit, double length, float velocity) {
    addNote(riser, hit - length, length - leadInGap, 60.0f, velocity);
}

std::vector<float> minorChord(float r) { return {r, r + 3, r + 7}; }
std::vector<float> majorChord(float r) { return {r, r + 4, r + 7}; }
std::vector<float> minor7Chord(float r) { return {r, r + 3, r + 7, r + 10}; }
std::vector<float> major7Chord(float r) { return {r, r + 4, r + 7, r + 11}; }

} // namespace score
