#pragma once
// How the loader and the director reach the scene modules, without knowing any of them.
//
// SceneCalls is a table of plain functions over a context: the show's registry (SceneRegistry.h)
// dispatches to the modules the program owns, and a test can put a recorder in its place without
// building any module.

#include "show/SceneIds.h"

struct EffectBuffers;

// A set of scene modules: all of them unless narrowed to the few a test or a benchmark loads.
class SceneSet {
  public:
    static constexpr SceneSet all() { return SceneSet(~0u); }
    static constexpr SceneSet none() { return SceneSet(0u); }
    static constexpr SceneSet only(SceneId id) { return SceneSet(bit(id)); }

    constexpr SceneSet without(SceneId id) const { return SceneSet(bits_ & ~bit(id)); }
    constexpr bool has(SceneId id) const { return (bits_ & bit(id)) != 0; }

  private:
    constexpr explicit SceneSet(unsigned bits) : bits_(bits) {}
    static constexpr unsigned bit(SceneId id) { return 1u << indexOf(id); }
    unsigned bits_;
};
static_assert(kSceneCount <= 32, "a SceneSet holds one bit per scene");

// The arguments a render takes after dt: the title's part and fade, the star swarm's variant in
// arg; the other modules take none and ignore both.
struct SceneArgs {
    int arg = 0;
    float fade = 0.0f;
};

struct SceneCalls {
    void* context = nullptr;
    // False for a module left out of this run: it is neither set up nor rendered, and its
    // section of the show stays black.
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
