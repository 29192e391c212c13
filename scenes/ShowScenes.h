#pragma once
// The show's own scene modules, one member each, owned by the program and created once.

#include "scenes/CaveScene.h"
#include "scenes/ClosingScene.h"
#include "scenes/DuckScene.h"
#include "scenes/HipuScene.h"
#include "scenes/KukkeliScene.h"
#include "scenes/PotkoScene.h"
#include "scenes/SceneCalls.h"
#include "scenes/StarBallScene.h"
#include "scenes/TitleScene.h"

struct ShowScenes {
    bool enabled[kSceneCount] = {true, true, true, true, true, true, true, true};
    TitleScene title;
    KukkeliScene kukkeli;
    StarBallScene starBall;
    HipuScene hipu;
    DuckScene duck;
    CaveScene cave;
    PotkoScene potko;
    ClosingScene closing;
};
