#pragma once
// How the loader and the director reach the eight scene modules.
//
// Each scene module is a concrete class with attach(EffectBuffers&), setup(screenWidth,
// screenHeight, effectWidth, effectHeight) and render(dt, ...) (the title takes a part and a
// fade, the star swarm a variant). The director and the loader call them through SceneCalls, a
// table of plain functions over a context: the real table dispatches to the modules the show
// owns, and a test can put a recorder in its place without building any module.

#include "scenes/TitleScene.h"

class EffectBuffers;

// In loading order.
enum class SceneId { Title, Kukkeli, StarBall, Hipu, Duck, Cave, Potko, Closing };
inline constexpr int kSceneCount = 8;

const char* sceneName(SceneId id);

struct SceneCalls {
    void* context = nullptr;
    // False for a module that is switched off or not part of this build: it is neither set up
    // nor rendered, and its section of the show stays black.
    bool (*available)(void* context, SceneId id) = nullptr;
    void (*attach)(void* context, SceneId id, EffectBuffers& effects) = nullptr;
    void (*setup)(void* context, SceneId id, int screenWidth, int screenHeight, int effectWidth,
                  int effectHeight) = nullptr;
    // arg is the title's part or the star swarm's variant, fade the title's fade; others ignore both.
    void (*render)(void* context, SceneId id, int dt, int arg, float fade) = nullptr;

    bool isAvailable(SceneId id) const { return available && available(context, id); }
    void renderScene(SceneId id, int dt, int arg = 0, float fade = 0.0f) const {
        if (isAvailable(id)) render(context, id, dt, arg, fade);
    }
};

// The show's own modules, owned by the program and created once.
struct SceneSet {
    bool enabled[kSceneCount] = {true, true, true, true, true, true, true, true};
    TitleScene title;
};

SceneCalls sceneCallsFor(SceneSet& scenes);
