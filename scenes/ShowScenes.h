#pragma once
// The show's own scene modules, one member each, owned by the program and created once.

#include "scenes/ClosingScene.h"
#include "scenes/SceneCalls.h"
#include "scenes/TitleScene.h"

struct ShowScenes {
    bool enabled[kSceneCount] = {true, true, true, true, true, true, true, true};
    TitleScene title;
    ClosingScene closing;
};
