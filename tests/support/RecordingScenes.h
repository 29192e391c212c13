#pragma once
// A stand-in for the scene modules that records every call it receives, in order, and draws a
// flat grey frame for each render so post effects have something to work on.

#include "scenes/SceneRegistry.h"

#include <string_view>
#include <vector>

struct SceneCall {
    std::string_view what; // "attach", "setup" or "render"
    SceneId id = SceneId::Title;
    int dt = 0;
    int arg = 0;
    float fade = 0.0f;
    int effectsSmallWidth = 0; // attach: small width of the buffers given; setup: effect width
};

struct RecordingScenes {
    std::vector<SceneCall> calls;
    SceneSet selected = SceneSet::all();
    float grey = 0.5f;

    SceneCalls table();
    std::vector<SceneCall> renders() const;
    void clear() { calls.clear(); }
};
