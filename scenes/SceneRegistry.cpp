#include "scenes/SceneRegistry.h"

#include "scenes/ShowScenes.h"
#include "timeline/ShowTimetable.h"

namespace {

// The entry points of the module held in ShowScenes::*member. Modules differ only in what their
// render takes after dt: a part and a fade, a variant, or nothing.
template <auto member>
void attachModule(ShowScenes& scenes, EffectBuffers& effects) {
    (scenes.*member).attach(effects);
}

template <auto member>
void setupModule(ShowScenes& scenes, int screenWidth, int screenHeight, int effectWidth, int effectHeight) {
    (scenes.*member).setup(screenWidth, screenHeight, effectWidth, effectHeight);
}

template <auto member>
void renderModule(ShowScenes& scenes, int dt, SceneArgs args) {
    auto& scene = scenes.*member;
    if constexpr (requires { scene.render(dt, args.arg, args.fade); })
        scene.render(dt, args.arg, args.fade);
    else if constexpr (requires { scene.render(dt, args.arg); })
        scene.render(dt, args.arg);
    else
        scene.render(dt);
}

// Every size a module draws at lives in its model.
template <auto member>
void resizeModule(ShowScenes& scenes, int screenWidth, int screenHeight, int effectWidth, int effectHeight) {
    Model* model = (scenes.*member).model.get();
    if (!model) return; // not set up
    model->screenWidth = screenWidth;
    model->screenHeight = screenHeight;
    model->effectWidth = effectWidth;
    model->effectHeight = effectHeight;
}

template <auto member>
const Model* modelOf(const ShowScenes& scenes) {
    return (scenes.*member).model.get();
}

template <auto member>
constexpr SceneRow built(SceneRow row) {
    row.attach = &attachModule<member>;
    row.setup = &setupModule<member>;
    row.render = &renderModule<member>;
    row.resize = &resizeModule<member>;
    row.model = &modelOf<member>;
    return row;
}

// A module not written yet: the loader skips it and its sections stay black.
constexpr SceneRow notBuilt(SceneRow row) { return row; }

constexpr WarmUps kTitleWarmUps{5, {{0, 0.0f}, {0, 0.01f}, {1, 0.01f}, {2, 0.01f}, {3, 0.01f}}};
constexpr WarmUps kSwarmWarmUps{2, {{0, 0.0f}, {1, 0.0f}}};
constexpr WarmUps kOneWarmUp{1, {{0, 0.0f}}};

// In loading order, which is also the order of SceneId.
constexpr SceneRow kRows[kSceneCount] = {
    built<&ShowScenes::title>({SceneId::Title, "TitleScene", EffectSet::Scene, kTitleWarmUps}),
    built<&ShowScenes::kukkeli>({SceneId::Kukkeli, "KukkeliScene", EffectSet::Scene, kSwarmWarmUps}),
    built<&ShowScenes::starBall>({SceneId::StarBall, "StarBallScene", EffectSet::WideScene, kOneWarmUp}),
    built<&ShowScenes::hipu>({SceneId::Hipu, "HipuScene", EffectSet::Scene, kOneWarmUp}),
    built<&ShowScenes::duck>({SceneId::Duck, "DuckScene", EffectSet::Scene, kOneWarmUp}),
    built<&ShowScenes::cave>({SceneId::Cave, "CaveScene", EffectSet::WideScene, kOneWarmUp}),
    built<&ShowScenes::potko>({SceneId::Potko, "PotkoScene", EffectSet::Scene, kOneWarmUp}),
    built<&ShowScenes::closing>({SceneId::Closing, "ClosingScene", EffectSet::WideScene, kOneWarmUp}),
};

constexpr bool rowsInIdOrder() {
    for (int i = 0; i < kSceneCount; ++i)
        if (indexOf(kRows[i].id) != i) return false;
    return true;
}
static_assert(rowsInIdOrder(), "the registry's rows follow SceneId");
// The soundtrack's beat grids count these warm-up milliseconds into the scene clocks.
static_assert(kTitleWarmUps.count == timetable::kTitleWarmUps);
static_assert(kSwarmWarmUps.count == timetable::kKukkeliWarmUps);
static_assert(kOneWarmUp.count == timetable::kOtherWarmUps);

ShowScenes& scenesOf(void* context) { return *static_cast<ShowScenes*>(context); }

bool available(void* context, SceneId id) {
    return kRows[indexOf(id)].isBuilt() && scenesOf(context).enabled[indexOf(id)];
}

void attach(void* context, SceneId id, EffectBuffers& effects) {
    if (kRows[indexOf(id)].isBuilt()) kRows[indexOf(id)].attach(scenesOf(context), effects);
}

void setup(void* context, SceneId id, int screenWidth, int screenHeight, int effectWidth, int effectHeight) {
    if (kRows[indexOf(id)].isBuilt())
        kRows[indexOf(id)].setup(scenesOf(context), screenWidth, screenHeight, effectWidth, effectHeight);
}

void render(void* context, SceneId id, int dt, SceneArgs args) {
    if (kRows[indexOf(id)].isBuilt()) kRows[indexOf(id)].render(scenesOf(context), dt, args);
}

void resize(void* context, SceneId id, int screenWidth, int screenHeight, int effectWidth, int effectHeight) {
    if (kRows[indexOf(id)].isBuilt())
        kRows[indexOf(id)].resize(scenesOf(context), screenWidth, screenHeight, effectWidth, effectHeight);
}

} // namespace

const SceneRow& sceneRow(SceneId id) { return kRows[indexOf(id)]; }

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
