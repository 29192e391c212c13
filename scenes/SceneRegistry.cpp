#include "scenes/SceneRegistry.h"

#include "show/Timetable.h"

#include <array>
#include <utility>

namespace {

// The soundtrack's beat grids count these warm-up milliseconds into the scene clocks.
static_assert(kTitleWarmUps.count == timetable::kTitleWarmUps);
static_assert(kSwarmWarmUps.count == timetable::kKukkeliWarmUps);
static_assert(kOneWarmUp.count == timetable::kOtherWarmUps);

constexpr int kRowCount = static_cast<int>(std::tuple_size_v<std::remove_cv_t<decltype(kSceneRows)>>);
static_assert(kRowCount == kSceneCount, "every SceneId has its row");

constexpr std::array<SceneInfo, kSceneCount> kInfos = std::apply(
    [](const auto&... rows) { return std::array<SceneInfo, kSceneCount>{rows.info...}; }, kSceneRows);

constexpr bool rowsInIdOrder() {
    for (int i = 0; i < kSceneCount; ++i)
        if (indexOf(kInfos[static_cast<std::size_t>(i)].id) != i) return false;
    return true;
}
static_assert(rowsInIdOrder(), "the registry's rows follow SceneId");

// The entry points of row I's module. Modules differ only in what their render takes after dt: a
// part and a fade, a variant, or nothing.
struct ModuleCalls {
    void (*attach)(ShowScenes& scenes, EffectBuffers& effects);
    void (*setup)(ShowScenes& scenes, int screenWidth, int screenHeight, int effectWidth, int effectHeight);
    void (*render)(ShowScenes& scenes, int dt, SceneArgs args);
    void (*resize)(ShowScenes& scenes, const SceneSizes& sizes);
    const SceneStage& (*stage)(const ShowScenes& scenes);
};

template <std::size_t I>
ModuleCalls callsOf() {
    return {
        [](ShowScenes& scenes, EffectBuffers& effects) { std::get<I>(scenes.modules).attach(effects); },
        [](ShowScenes& scenes, int screenWidth, int screenHeight, int effectWidth, int effectHeight) {
            std::get<I>(scenes.modules).setup(screenWidth, screenHeight, effectWidth, effectHeight);
        },
        [](ShowScenes& scenes, int dt, SceneArgs args) {
            auto& scene = std::get<I>(scenes.modules);
            if constexpr (requires { scene.render(dt, args.arg, args.fade); })
                scene.render(dt, args.arg, args.fade);
            else if constexpr (requires { scene.render(dt, args.arg); })
                scene.render(dt, args.arg);
            else
                scene.render(dt);
        },
        // Every module draws at the sizes its stage holds.
        [](ShowScenes& scenes, const SceneSizes& sizes) { std::get<I>(scenes.modules).stage.resize(sizes); },
        [](const ShowScenes& scenes) -> const SceneStage& { return std::get<I>(scenes.modules).stage; },
    };
}

template <std::size_t... I>
std::array<ModuleCalls, kSceneCount> callTable(std::index_sequence<I...>) {
    return {callsOf<I>()...};
}

const std::array<ModuleCalls, kSceneCount> kCalls = callTable(std::make_index_sequence<kSceneCount>{});

const ModuleCalls& callsFor(SceneId id) { return kCalls[static_cast<std::size_t>(indexOf(id))]; }
ShowScenes& scenesOf(void* context) { return *static_cast<ShowScenes*>(context); }

bool available(void* context, SceneId id) { return scenesOf(context).selected.has(id); }

void attach(void* context, SceneId id, EffectBuffers& effects) {
    callsFor(id).attach(scenesOf(context), effects);
}

void setup(void* context, SceneId id, int screenWidth, int screenHeight, int effectWidth, int effectHeight) {
    callsFor(id).setup(scenesOf(context), screenWidth, screenHeight, effectWidth, effectHeight);
}

void render(void* context, SceneId id, int dt, SceneArgs args) {
    callsFor(id).render(scenesOf(context), dt, args);
}

void resize(void* context, SceneId id, int screenWidth, int screenHeight, int effectWidth, int effectHeight) {
    callsFor(id).resize(scenesOf(context), {screenWidth, screenHeight, effectWidth, effectHeight});
}

} // namespace

const SceneInfo& sceneInfo(SceneId id) { return kInfos[static_cast<std::size_t>(indexOf(id))]; }

const SceneStage& sceneStage(const ShowScenes& scenes, SceneId id) { return callsFor(id).stage(scenes); }

SceneCalls sceneCallsFor(ShowScenes& scenes) {
    SceneCalls calls;
    calls.context = &scenes;
    calls.available = &available;
    calls.attach = &attach;
    calls.setup = &setup;
    calls.render = &render;
    calls.resize = &resize;
    return calls;
}
