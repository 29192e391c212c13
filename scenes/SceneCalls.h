#pragma once
// How the loader and the director reach the scene modules, without knowing any of them.
//
// SceneCalls is a table of plain functions over a context: the show's table (SceneRegistry.h)
// dispatches to the modules the program owns, and a test can put a recorder in its place without
// building any module.

struct EffectBuffers;

// In loading order.
enum class SceneId { Title, Kukkeli, StarBall, Hipu, Duck, Cave, Potko, Closing };
inline constexpr int kSceneCount = 8;

constexpr int indexOf(SceneId id) { return static_cast<int>(id); }

// The arguments a render takes after dt: the title's part and fade, the star swarm's variant in
// arg; the other modules take none and ignore both.
struct SceneArgs {
    int arg = 0;
    float fade = 0.0f;
};

struct SceneCalls {
    void* context = nullptr;
    // False for a module that is switched off or not part of this build: it is neither set up
    // nor rendered, and its section of the show stays black.
    bool (*available)(void* context, SceneId id) = nullptr;
    void (*attach)(void* context, SceneId id, EffectBuffers& effects) = nullptr;
    void (*setup)(void* context, SceneId id, int screenWidth, int screenHeight, int effectWidth,
                  int effectHeight) = nullptr;
    void (*render)(void* context, SceneId id, int dt, SceneArgs args) = nullptr;
    // The frame changed size mid-show: a set-up module draws at these sizes from now on.
    void (*resize)(void* context, SceneId id, int screenWidth, int screenHeight, int effectWidth,
                   int effectHeight) = nullptr;

    bool isAvailable(SceneId id) const { return available && available(context, id); }
};
