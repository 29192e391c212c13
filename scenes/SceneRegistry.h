#pragma once
// The scene registry: one row per scene module, naming it, its class, the effect buffers it
// shares and its warm-up renders. The program's modules (ShowScenes) and the calls the loader and
// the director make are derived from the rows, so a new module is its own files, its id in
// show/SceneIds.h and its row here.

#include "scenes/CaveScene.h"
#include "scenes/ClosingScene.h"
#include "scenes/DuckScene.h"
#include "scenes/HipuScene.h"
#include "scenes/KukkeliScene.h"
#include "scenes/PotkoScene.h"
#include "scenes/SceneCalls.h"
#include "scenes/StarBallScene.h"
#include "scenes/TitleScene.h"

#include <tuple>

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

// What the loader and the reports know of a module, whatever its class.
struct SceneInfo {
    SceneId id = SceneId::Title;
    const char* name = "";
    EffectSet effects = EffectSet::Scene;
    WarmUps warmUps;
};

// A row: the module's class and what is known of it.
template <typename Scene>
struct SceneRow {
    SceneInfo info;
};

template <typename Scene>
constexpr SceneRow<Scene> row(SceneId id, const char* name, EffectSet effects, WarmUps warmUps) {
    return {{id, name, effects, warmUps}};
}

inline constexpr WarmUps kTitleWarmUps{5, {{0, 0.0f}, {0, 0.01f}, {1, 0.01f}, {2, 0.01f}, {3, 0.01f}}};
inline constexpr WarmUps kSwarmWarmUps{2, {{0, 0.0f}, {1, 0.0f}}};
inline constexpr WarmUps kOneWarmUp{1, {{0, 0.0f}}};

// In loading order, which is the order of SceneId.
inline constexpr std::tuple kSceneRows{
    row<TitleScene>(SceneId::Title, "TitleScene", EffectSet::Scene, kTitleWarmUps),
    row<KukkeliScene>(SceneId::Kukkeli, "KukkeliScene", EffectSet::Scene, kSwarmWarmUps),
    row<StarBallScene>(SceneId::StarBall, "StarBallScene", EffectSet::WideScene, kOneWarmUp),
    row<HipuScene>(SceneId::Hipu, "HipuScene", EffectSet::Scene, kOneWarmUp),
    row<DuckScene>(SceneId::Duck, "DuckScene", EffectSet::Scene, kOneWarmUp),
    row<CaveScene>(SceneId::Cave, "CaveScene", EffectSet::WideScene, kOneWarmUp),
    row<PotkoScene>(SceneId::Potko, "PotkoScene", EffectSet::Scene, kOneWarmUp),
    row<ClosingScene>(SceneId::Closing, "ClosingScene", EffectSet::WideScene, kOneWarmUp),
};

namespace registry {
template <typename Rows>
struct ModulesOf;
template <typename... Scenes>
struct ModulesOf<std::tuple<SceneRow<Scenes>...>> {
    using type = std::tuple<Scenes...>;
};
} // namespace registry

// The program's scene modules, one of each row's class, created once and owned for the run.
struct ShowScenes {
    typename registry::ModulesOf<std::remove_cv_t<decltype(kSceneRows)>>::type modules;
    // The modules this run sets up and renders; a test or a benchmark narrows it to the few it
    // looks at.
    SceneSet selected = SceneSet::all();

    template <typename Scene>
    Scene& get() {
        return std::get<Scene>(modules);
    }
};

const SceneInfo& sceneInfo(SceneId id);

// The module's stage: its clock, and its meshes once set up (null before), for checks and reports.
const SceneStage& sceneStage(const ShowScenes& scenes, SceneId id);

// The call table over the program's own modules: a module is available when it is selected.
SceneCalls sceneCallsFor(ShowScenes& scenes);
