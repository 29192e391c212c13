// One recipe per stretch of the show. Each writes its notes into the shared ensemble; the cuts
// and beat grids come from SceneGrids.
#pragma once

#include "synth/Song.h"

namespace score {

void writeTitle(synth::Song& song);       // 0 - 41.8 s, seven-eight theme
void writeSwarm(synth::Song& song);       // 41.8 - 70 s, twelve-eight streaks then straight flashes
void writeStarBall(synth::Song& song);    // 70 - 86 s, breakdown
void writeWhiteOut(synth::Song& song);    // 86 - 97.3 s, build to white
void writeHipu(synth::Song& song);        // 97.3 - 126 s, out of white, then the drop
void writeDuck(synth::Song& song);        // 126 - 157 s, bouncy
void writeBoilingBall(synth::Song& song); // 157 - 164 s, the cube-ball boils
void writeCave(synth::Song& song);        // 164 - 220 s, dub
void writePotko(synth::Song& song);       // 220 - 246 s, electro kicks then the throb
void writeClosing(synth::Song& song);     // 246 - 286.5 s, the theme again, fade

} // namespace score
