// Cost of each scene's frames on each renderer: the scene rendered frame after frame from its
// start at 60 frames a second, into the show's frame target, each renderer on its own context
// (desktop OpenGL for the fixed-function one, OpenGL ES 3.0 for the shader one).
#include "app/LoadAll.h"
#include "bench/BenchRenderer.h"
#include "platform/MessageBox.h"
#include "platform/Quit.h"
#include "render/GlErrors.h"
#include "render/ScreenBlit.h"
#include "scenes/SceneRegistry.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace {

struct SceneFixture {
    std::unique_ptr<ShowScenes> scenes = std::make_unique<ShowScenes>();
    ShowResources show;
    bool ready = false;

    explicit SceneFixture(SceneId id) {
        setMessageBoxesInteractive(false);
        const auto previous = std::filesystem::current_path();
        std::filesystem::current_path(CASTRELLE_DEFAULT_DATA_DIR);
        scenes->selected = SceneSet::only(id);
        loadAll(show, sceneCallsFor(*scenes), LoadSizes{}, BarStep{nullptr, [](void*) {}});
        std::filesystem::current_path(previous);
        ready = !startupFailed() && takeGlError() == 0;
    }
};

// One fixture per renderer and scene, made on first use on the renderer's context.
SceneFixture& fixtureFor(const RenderBackend& r, SceneId id) {
    static std::map<std::pair<const RenderBackend*, SceneId>, std::unique_ptr<SceneFixture>> fixtures;
    std::unique_ptr<SceneFixture>& f = fixtures[{&r, id}];
    if (!f) f = std::make_unique<SceneFixture>(id);
    return *f;
}

void sceneFrames(benchmark::State& state, const RenderBackend& r, SceneId id) {
    SceneFixture* fixture = &fixtureFor(r, id);
    if (!fixture->ready) {
        state.SkipWithError("no generated data");
        return;
    }
    const SceneCalls calls = sceneCallsFor(*fixture->scenes);
    constexpr int kFrameMs = 16;
    for (auto _ : state) {
        calls.render(calls.context, id, kFrameMs, SceneArgs{});
        finishFrame();
    }
    if (takeGlError() != 0) state.SkipWithError("a GL error");
}

// Every scene on each renderer, one after the other so the pair sees the same machine. A fixed
// count, so each run draws the same frames: the first two seconds of the scene.
const int kRegistered = [] {
    const struct {
        const char* name;
        SceneId id;
    } scenes[] = {{"Title", SceneId::Title},   {"Kukkeli", SceneId::Kukkeli}, {"StarBall", SceneId::StarBall},
                  {"Hipu", SceneId::Hipu},     {"Duck", SceneId::Duck},       {"Cave", SceneId::Cave},
                  {"Potko", SceneId::Potko},   {"Closing", SceneId::Closing}};
    for (const auto& scene : scenes) {
        const SceneId id = scene.id;
        onEachRenderer(
            std::string("BM_") + scene.name + "Frame",
            [id](benchmark::State& s, const RenderBackend& r) { sceneFrames(s, r, id); },
            [](benchmark::internal::Benchmark* b) { b->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(120); });
    }
    return 0;
}();

} // namespace
