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
    for (Part p : {Part::Kick, Part::HeavyKick}) {
        for (const synth::Note& n : track(song, p).notes) song.duckTriggers.push_back(n.start);
    }
    std::sort(song.duckTriggers.begin(), song.duckTriggers.end());
    song.fadeOutStart = cut::fadeStart;
    song.fadeOutEnd = cut::fadeEnd;
    return song;
}

} // namespace score
