#pragma once
// The scene registry: one row per scene module with everything the loader and the director need
// to know of it. A new module is its own files, a member of ShowScenes and its row here.

#include "scenes/SceneCalls.h"

struct Model;
struct ShowScenes;

// Which of the two shared effect-buffer sets a module draws its glows with. A module works at
// the small size of the set it is attached to.
enum class EffectSet {
    Scene,     // small 256 x 128
    WideScene, // small 512 x 256, for the modules whose streaks need the finer copy
};

// The 1 ms renders a module gets at load time, so its first frames in the show find every
// buffer made and every lazily built table filled.
struct WarmUps {
    int count = 0;
    SceneArgs args[5] = {};
};

struct SceneRow {
    SceneId id = SceneId::Title;
    const char* name = "";
    EffectSet effects = EffectSet::Scene;
    WarmUps warmUps;
    // Null while the module is not part of this build: its sections stay black.
    void (*attach)(ShowScenes& scenes, EffectBuffers& effects) = nullptr;
    void (*setup)(ShowScenes& scenes, int screenWidth, int screenHeight, int effectWidth,
                  int effectHeight) = nullptr;
    void (*render)(ShowScenes& scenes, int dt, SceneArgs args) = nullptr;
    void (*resize)(ShowScenes& scenes, int screenWidth, int screenHeight, int effectWidth,
                   int effectHeight) = nullptr;
    // The module's meshes, once set up (null before), for checks and reports.
    const Model* (*model)(const ShowScenes& scenes) = nullptr;

    bool isBuilt() const { return render != nullptr; }
};

const SceneRow& sceneRow(SceneId id);
inline const char* sceneName(SceneId id) { return sceneRow(id).name; }

// The call table over the program's own modules: a module is available when it is built and
// enabled.
SceneCalls sceneCallsFor(ShowScenes& scenes);
