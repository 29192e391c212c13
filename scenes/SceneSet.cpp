#include "scenes/SceneSet.h"

const char* sceneName(SceneId id) {
    static const char* const kNames[kSceneCount] = {"TitleScene", "KukkeliScene", "StarBallScene",
                                                    "HipuScene",  "DuckScene",    "CaveScene",
                                                    "PotkoScene", "ClosingScene"};
    return kNames[static_cast<int>(id)];
}

namespace {

SceneSet& set(void* context) { return *static_cast<SceneSet*>(context); }

// The modules that have joined the show so far; the others' sections stay black.
bool isBuilt(SceneId id) { return id == SceneId::Title; }

bool available(void* context, SceneId id) { return set(context).enabled[static_cast<int>(id)] && isBuilt(id); }

void attach(void* context, SceneId id, EffectBuffers& effects) {
    switch (id) {
    case SceneId::Title: set(context).title.attach(effects); break;
    default: break;
    }
}

void setup(void* context, SceneId id, int screenWidth, int screenHeight, int effectWidth, int effectHeight) {
    switch (id) {
    case SceneId::Title: set(context).title.setup(screenWidth, screenHeight, effectWidth, effectHeight); break;
    default: break;
    }
}

void render(void* context, SceneId id, int dt, int arg, float fade) {
    switch (id) {
    case SceneId::Title: set(context).title.render(dt, arg, fade); break;
    default: break;
    }
}

} // namespace

SceneCalls sceneCallsFor(SceneSet& scenes) {
    SceneCalls calls;
    calls.context = &scenes;
    calls.available = &available;
    calls.attach = &attach;
    calls.setup = &setup;
    calls.render = &render;
    return calls;
}
