#include "score/Score.h"
#include "score/Instruments.h"
#include "score/SceneGrids.h"
#include "score/Writer.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace score;

TEST(ScoreSync, EveryMainHitHasAKickAtExactlyItsTime) {
    synth::Song song = composeSoundtrack();
    // The title's opening pulses are the soft heartbeat kick, every other main hit the heavy one.
    std::vector<synth::Note> kicks = track(song, Instrument::HeavyKick).notes;
    const std::vector<synth::Note>& soft = track(song, Instrument::SoftKick).notes;
    kicks.insert(kicks.end(), soft.begin(), soft.end());
    for (const HitGrid& g : allGrids()) {
        for (double t : g.mainHits) {
            bool found = false;
            for (const synth::Note& n : kicks) found = found || std::fabs(n.start - t) < 1e-9;
            EXPECT_TRUE(found) << g.section << " " << t;
        }
    }
}

TEST(ScoreSync, TheHeavyAndSoftKicksPlayOnlyOnMainHits) {
    synth::Song song = composeSoundtrack();
    std::vector<double> all;
    for (const HitGrid& g : allGrids()) all.insert(all.end(), g.mainHits.begin(), g.mainHits.end());
    std::vector<synth::Note> kicks = track(song, Instrument::HeavyKick).notes;
    const std::vector<synth::Note>& soft = track(song, Instrument::SoftKick).notes;
    kicks.insert(kicks.end(), soft.begin(), soft.end());
    for (const synth::Note& n : kicks) {
        bool onGrid = false;
        for (double t : all) onGrid = onGrid || std::fabs(n.start - t) < 1e-9;
        EXPECT_TRUE(onGrid) << n.start;
    }
}

TEST(ScoreShape, NotesStayInsideThePieceAndAreWellFormed) {
    const synth::Song song = composeSoundtrack();
    size_t count = 0;
    for (const synth::Track& t : song.tracks) {
        for (const synth::Note& n : t.notes) {
            EXPECT_GE(n.start, 0.0) << t.name;
            EXPECT_LT(n.start, cut::end) << t.name;
            EXPECT_GT(n.duration, 0.0f) << t.name;
            EXPECT_GT(n.velocity, 0.0f) << t.name;
            EXPECT_LE(n.velocity, 1.2f) << t.name;
            EXPECT_TRUE(std::isfinite(n.pitch)) << t.name;
            ++count;
        }
    }
    EXPECT_GT(count, 3000u);
    EXPECT_GE(song.length, 286.5);
    EXPECT_LT(song.length, 290.0);
}

TEST(ScoreShape, EverySectionHasMusicInIt) {
    const synth::Song song = composeSoundtrack();
    const double cuts[] = {0.0,           cut::swarm, cut::flashes, cut::starBall,
                           cut::whiteOut, cut::hipu,  cut::duck,    cut::starBallAgain,
                           cut::cave,     cut::potko, cut::closing, cut::end};
    for (size_t s = 0; s + 1 < std::size(cuts); ++s) {
        size_t notes = 0;
        for (const synth::Track& t : song.tracks)
            for (const synth::Note& n : t.notes) notes += n.start >= cuts[s] && n.start < cuts[s + 1];
        EXPECT_GT(notes, 20u) << "section from " << cuts[s];
    }
}

TEST(Notation, NoteNamesGiveMidiNumbers) {
    EXPECT_EQ(pitchOf("A4"), 69.0f);
    EXPECT_EQ(pitchOf("C4"), 60.0f);
    EXPECT_EQ(pitchOf("C#3"), 49.0f);
    EXPECT_EQ(pitchOf("Bb2"), 46.0f);
    EXPECT_LT(pitchOf("-"), 0.0f);
}

TEST(Notation, MelodiesAdvanceByTheirLengthsAndSkipRests) {
    synth::Track t;
    const double end = addMelody(t, Grid{1.0, 0.5}, 2.0, "E5:3 -:1 G5:0.5", 0.8f, 12.0f);
    EXPECT_DOUBLE_EQ(end, 6.5);
    ASSERT_EQ(t.notes.size(), 2u);
    EXPECT_DOUBLE_EQ(t.notes[0].start, 2.0);
    EXPECT_EQ(t.notes[0].pitch, 88.0f);
    EXPECT_DOUBLE_EQ(t.notes[1].start, 4.0);
}

TEST(Notation, PatternsPlaceAccentsAndDropHitsOutsideTheWindow) {
    synth::Track t;
    addPattern(t, Grid{0.0, 0.25}, 0, 2, "X-o.", 0.1, 1.6);
    // Steps 0..7 at 0.25 s: X at 0 (outside), o at 0.5, . at 0.75, X at 1.0, o at 1.5.
    ASSERT_EQ(t.notes.size(), 4u);
    EXPECT_DOUBLE_EQ(t.notes[0].start, 0.5);
    EXPECT_FLOAT_EQ(t.notes[0].velocity, 0.6f);
    EXPECT_FLOAT_EQ(t.notes[2].velocity, 1.0f);
}

TEST(Notation, SwingDelaysOnlyTheOddSteps) {
    synth::Track t;
    addPattern(t, Grid{0.0, 0.25}, 0, 1, "xxxx", 0.0, 10.0, 1.0f, 60.0f, 0.0f, 0.2);
    ASSERT_EQ(t.notes.size(), 4u);
    EXPECT_DOUBLE_EQ(t.notes[0].start, 0.0);
    EXPECT_DOUBLE_EQ(t.notes[1].start, 0.3);
    EXPECT_DOUBLE_EQ(t.notes[2].start, 0.5);
    EXPECT_DOUBLE_EQ(t.notes[3].start, 0.8);
}

TEST(ScoreMix, MovementIsDrawnInTimeOrderWithinSaneBounds) {
    const synth::Song song = composeSoundtrack();
    auto checkOrder = [](const synth::Track& t, const synth::Automation& a, float low, float high) {
        for (size_t i = 0; i < a.points.size(); ++i) {
            EXPECT_GE(a.points[i].value, low) << t.name << " point " << i;
            EXPECT_LE(a.points[i].value, high) << t.name << " point " << i;
            if (i > 0) {
                EXPECT_GE(a.points[i].at, a.points[i - 1].at) << t.name << " point " << i;
            }
        }
        // Every arc comes home, so the sections after it play at rest.
        if (!a.empty()) {
            EXPECT_EQ(a.points.back().value, a.points.front().value) << t.name;
        }
    };
    size_t arcs = 0;
    for (const synth::Track& t : song.tracks) {
        checkOrder(t, t.levelDb, -24.0f, 6.0f);
        checkOrder(t, t.lowPassHz, 100.0f, openHz);
        arcs += t.levelDb.points.size() + t.lowPassHz.points.size();
    }
    EXPECT_GT(arcs, 40u);
}

TEST(ScoreMix, LeadInsStopShortOfTheHitsTheyLeadTo) {
    // A riser or reversed cymbal still sounding at a main hit hides the kick's attack from the ear
    // and from onset detection alike.
    synth::Song song = composeSoundtrack();
    std::vector<double> all;
    for (const HitGrid& g : allGrids()) all.insert(all.end(), g.mainHits.begin(), g.mainHits.end());
    // A riser is loud only near its end (it swells with the square of its progress).
    constexpr double loudEnd = 0.25;
    for (const synth::Note& n : track(song, Instrument::Riser).notes) {
        const double end = n.start + n.duration;
        for (double t : all) {
            const bool roarsOverHit = t > end - loudEnd && t < end + 0.5 * leadInGap;
            EXPECT_FALSE(roarsOverHit) << "riser ending " << end << " over the hit at " << t;
        }
    }
    // A reversed hit ends at its note's start.
    for (const synth::Note& n : track(song, Instrument::Swell).notes)
        for (double t : all) EXPECT_FALSE(n.start > t - 0.5 * leadInGap && n.start <= t + 0.01) << n.start;
    EXPECT_FALSE(track(song, Instrument::Swell).notes.empty());
}

TEST(ScoreMix, KickAndBassStayInTheMiddle) {
    synth::Song song = composeSoundtrack();
    for (Instrument i : {Instrument::Kick, Instrument::HeavyKick, Instrument::SoftKick, Instrument::Boom,
                         Instrument::SubBass, Instrument::Bass, Instrument::Acid}) {
        const synth::Track& t = track(song, i);
        EXPECT_EQ(t.pan, 0.0f) << t.name;
        EXPECT_EQ(t.synth.stereoWidth, 0.0f) << t.name;
        for (const synth::Note& n : t.notes) ASSERT_EQ(n.pan, 0.0f) << t.name << " at " << n.start;
    }
    EXPECT_GT(song.monoBelowHz, 0.0f);
}
