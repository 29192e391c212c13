#include "scenes/SceneSet.h"

const char* sceneName(SceneId id) {
    static const char* const kNames[kSceneCount] = {"TitleScene", "KukkeliScene", "StarBallScene",
                                                    "HipuScene",  "DuckScene",    "CaveScene",
                                                    "PotkoScene", "ClosingScene"};
    return kNames[static_cast<int>(id)];
}

namespace {

// No scene module has joined the show yet: every section renders black until one does.
bool isBuilt(SceneId) { return false; }

bool available(void* context, SceneId id) {
    const SceneSet& scenes = *static_cast<SceneSet*>(context);
    return scenes.enabled[static_cast<int>(id)] && isBuilt(id);
}

void attach(void*, SceneId, EffectBuffers&) {}
void setup(void*, SceneId, int, int, int, int) {}
void render(void*, SceneId, int, int, float) {}

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
