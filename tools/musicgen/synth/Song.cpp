#include "synth/Song.h"

#include "synth/Dsp.h"
#include "synth/Voice.h"

#include <algorithm>
#include <cmath>

namespace synth {

namespace {
uint32_t noteSeed(size_t track, size_t note) {
    return static_cast<uint32_t>(track * 7919u + note * 104729u + 17u);
}

void renderTrack(const Track& track, size_t trackIndex, StereoBuffer& out) {
    for (size_t n = 0; n < track.notes.size(); ++n) {
        const Note& note = track.notes[n];
        if (track.isDrum) {
            DrumPatch patch = track.drum;
            const float ratio = std::exp2((note.pitch - 60.0f) / 12.0f);
            patch.pitchHz *= ratio;
            patch.sweepHz *= ratio;
            if (patch.kind == DrumKind::Riser) patch.length = note.duration;
            renderDrum(patch, note.start, note.velocity, note.pan, noteSeed(trackIndex, n), out);
        } else {
            renderNote(track.synth, note, noteSeed(trackIndex, n), out);
        }
    }
}

// Frames a track can write to: from its first note to the end of its longest tail.
struct FrameRange {
    size_t begin = 0;
    size_t end = 0;
};
FrameRange activeRange(const Track& track, size_t frames) {
    double first = 1e30;
    double last = 0.0;
    const double tail = track.isDrum ? std::max({track.drum.decay, track.drum.noiseDecay}) + 0.1
                                     : track.synth.amp.release * 1.5 + 0.1;
    for (const Note& n : track.notes) {
        // A reversed hit sounds before its time, for as long as it would after it (risers set
        // their length per note).
        const double lead = track.isDrum && track.drum.reversed
                                ? drumLength(track.drum) + std::max(0.0, static_cast<double>(n.duration))
                                : 0.0;
        first = std::min(first, n.start - lead);
        last = std::max(last, n.start + n.duration + tail);
    }
    // Chorus and filters ring a little past the last sample written.
    last += 0.1;
    FrameRange r;
    r.begin = static_cast<size_t>(std::max(0, secondsToSamples(first)));
    r.end = std::min(frames, static_cast<size_t>(std::max(0, secondsToSamples(last))));
    if (r.begin > r.end) r.begin = r.end;
    return r;
}

// Constant-power balance that leaves a centred track at unity on both sides.
struct Balance {
    float left = 1.0f;
    float right = 1.0f;
};
Balance balanceOf(float pan) {
    const float angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0f) * 0.25f * pi;
    return {std::sqrt(2.0f) * std::cos(angle), std::sqrt(2.0f) * std::sin(angle)};
}

void applyLevelAutomation(StereoBuffer& buffer, const Automation& levelDb, size_t begin, size_t end) {
    if (levelDb.empty()) return;
    for (size_t i = begin; i < end; ++i) {
        const float g = dbToGain(levelDb.valueAt(static_cast<double>(i) / sampleRate));
        buffer.left[i] *= g;
        buffer.right[i] *= g;
    }
}

bool shapesTransients(const TransientSettings& s) { return s.attackDb != 0.0f || s.sustainDb != 0.0f; }

void applyFadeOut(StereoBuffer& mix, double start, double end) {
    const int first = secondsToSamples(start);
    const int last = secondsToSamples(end);
    for (int i = std::max(0, first); i < static_cast<int>(mix.frames()); ++i) {
        float g = 0.0f;
        if (i < last)
            g = 0.5f + 0.5f * std::cos(pi * static_cast<float>(i - first) / static_cast<float>(last - first));
        mix.left[static_cast<size_t>(i)] *= g;
        mix.right[static_cast<size_t>(i)] *= g;
    }
}
} // namespace

StereoBuffer renderSong(const Song& song) {
    const size_t frames = static_cast<size_t>(secondsToSamples(song.length));
    StereoBuffer mix(frames);
    StereoBuffer reverbBus(frames);
    StereoBuffer delayBus(frames);
    StereoBuffer scratch(frames);
    const std::vector<float> duck = duckingCurve(song.duckTriggers, song.duck, frames);

    for (size_t t = 0; t < song.tracks.size(); ++t) {
        const Track& track = song.tracks[t];
        if (track.notes.empty()) continue;
        const FrameRange r = activeRange(track, frames);
        scratch.clear(r.begin, r.end);
        renderTrack(track, t, scratch);
        if (track.chorus) applyChorus(scratch, song.chorus, r.begin, r.end);
        applyEq(scratch, track.eq, r.begin, r.end);
        if (shapesTransients(track.transient)) applyTransientShaper(scratch, track.transient, r.begin, r.end);
        applyFilterSweep(scratch, track.highPassHz, FilterMode::HighPass, 0.1f, r.begin, r.end);
        applyFilterSweep(scratch, track.lowPassHz, FilterMode::LowPass, 0.25f, r.begin, r.end);
        applyLevelAutomation(scratch, track.levelDb, r.begin, r.end);
        if (track.ducked) applyGainCurve(scratch, duck, r.begin, r.end);
        const Balance b = balanceOf(track.pan);
        mix.mixIn(scratch, track.gain * b.left, track.gain * b.right, r.begin, r.end);
        if (track.reverbSend > 0.0f) reverbBus.mixIn(scratch, track.gain * track.reverbSend, r.begin, r.end);
        if (track.delaySend > 0.0f) delayBus.mixIn(scratch, track.gain * track.delaySend, r.begin, r.end);
    }
    applyDelay(delayBus, song.delay, song.delayChanges);
    applyEq(delayBus, song.delayEq);
    // Echoes feed the reverb a little so they sit in the same room.
    reverbBus.mixIn(delayBus, 0.3f);
    applyReverb(reverbBus, song.reverb);
    applyEq(reverbBus, song.reverbEq);
    // The returns duck too, so the kick stays clear of long tails.
    applyGainCurve(reverbBus, duck);
    mix.mixIn(delayBus, song.delayReturn);
    mix.mixIn(reverbBus, song.reverbReturn);
    applyEq(mix, song.busEq);
    monoBelow(mix, song.monoBelowHz);
    if (song.busCompressor.ratio > 1.0f) applyCompressor(mix, song.busCompressor);
    if (song.fadeOutStart >= 0.0) applyFadeOut(mix, song.fadeOutStart, song.fadeOutEnd);
    return mix;
}

MasterReport masterMix(StereoBuffer& mix, const MasterSettings& settings) {
    MasterReport report;
    const StereoBuffer dry = mix;
    double loudness = integratedLoudness(mix);
    double gainDb = settings.targetLufs - loudness;
    for (int pass = 0; pass < std::max(1, settings.passes); ++pass) {
        mix = dry;
        const float g = dbToGain(static_cast<float>(gainDb));
        for (size_t i = 0; i < mix.frames(); ++i) {
            mix.left[i] *= g;
            mix.right[i] *= g;
        }
        applyLimiter(mix, settings.limiter);
        loudness = integratedLoudness(mix);
        // The limiter takes some loudness away; ask for that much more on the next pass.
        gainDb += settings.targetLufs - loudness;
    }
    report.loudness = loudness;
    report.truePeakDb = maxTruePeakDb(mix);
    report.gainDb = static_cast<float>(gainDb - (settings.targetLufs - loudness));
    return report;
}

} // namespace synth
