#include "score/Score.h"

#include "score/Instruments.h"
#include "score/SceneGrids.h"
#include "score/Sections.h"

#include <algorithm>

namespace score {

synth::Song composeSoundtrack() {
    synth::Song song = makeEnsemble(soundtrackLength);
    writeTitle(song);
    writeSwarm(song);
    writeStarBall(song);
    writeWhiteOut(song);
    writeHipu(song);
    writeDuck(song);
    writeBoilingBall(song);
    writeCave(song);
    writePotko(song);
    writeClosing(song);
    // Everything ducked breathes with the kicks.
    for (Instrument p : {Instrument::Kick, Instrument::HeavyKick}) {
        for (const synth::Note& n : track(song, p).notes) song.duckTriggers.push_back(n.start);
    }
    std::sort(song.duckTriggers.begin(), song.duckTriggers.end());
    // Echoes in time with each section: three and four eighths in seven-eight, a dotted eighth and
    // a beat elsewhere.
    song.delay.timeLeft = 0.6f;
    song.delay.timeRight = 0.8f;
    song.delayChanges = {
        {cut::swarm, 0.4575f, 0.61f},  {cut::flashes, 0.3375f, 0.45f}, {cut::starBall, 0.3525f, 0.47f},
        {cut::duck, 0.3693f, 0.4924f}, {cut::cave, 0.375f, 0.5f},      {cut::potko, 0.45f, 0.6f},
        {cut::closing, 0.6f, 0.8f},
    };
    song.fadeOutStart = cut::fadeStart;
    song.fadeOutEnd = cut::fadeEnd;
    return song;
}

} // namespace score
