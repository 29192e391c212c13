// Cost of one star-swarm frame on the software rasteriser on each renderer, on the generated data: the whole
// frame (up to 450 stars drawn in two passes of two batches each, the ball, the glow), the same
// without the stars, and with the credit sprites while the row is strung out and gathered.
#include "app/LoadAll.h"
#include "bench/BenchRenderer.h"
#include "platform/MessageBox.h"
#include "platform/Quit.h"
#include "render/MeshRenderer.h"
#include "render/ScreenBlit.h"
#include "scenes/SceneRegistry.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>

namespace {

struct SwarmFixture {
    std::unique_ptr<ShowScenes> scenes = std::make_unique<ShowScenes>();
    ShowResources show;
    bool ready = false;

    SwarmFixture() {
        setMessageBoxesInteractive(false);
        const auto previous = std::filesystem::current_path();
        std::filesystem::current_path(CASTRELLE_DEFAULT_DATA_DIR);
        scenes->selected = SceneSet::only(SceneId::Kukkeli);
        loadAll(show, sceneCallsFor(*scenes), LoadSizes{}, BarStep{nullptr, [](void*) {}});
        std::filesystem::current_path(previous);
        ready = !startupFailed();
    }
};

// One fixture per renderer, loaded on its context.
SwarmFixture& fixtureFor(const RenderBackend& renderer) {
    static std::map<const RenderBackend*, std::unique_ptr<SwarmFixture>> fixtures;
    std::unique_ptr<SwarmFixture>& f = fixtures[&renderer];
    if (!f) f = std::make_unique<SwarmFixture>();
    return *f;
}

// Frames at a fixed scene time in the wide view, where most stars are in view.
void swarmFrames(benchmark::State& state, const RenderBackend& renderer, bool stars, float credits) {
    SwarmFixture& f = fixtureFor(renderer);
    if (!f.ready) {
        state.SkipWithError("no generated data");
        return;
    }
    KukkeliScene& scene = f.scenes->get<KukkeliScene>();
    scene.starsEnabled = stars;
    resetDrawnBatches();
    for (auto _ : state) {
        scene.stage.clock.time = 40102.0f;
        scene.previousVariant = 1;
        scene.creditsClock = credits;
        scene.render(0, 1);
        finishFrame();
    }
    scene.starsEnabled = true;
    state.counters["draws/frame"] =
        static_cast<double>(drawnBatches()) / static_cast<double>(state.iterations());
}

const int kRegistered = [] {
    const auto milliseconds = [](benchmark::internal::Benchmark* b) { b->Unit(benchmark::kMillisecond)->UseRealTime(); };
    const struct {
        const char* name;
        bool stars;
        float credits;
    } variants[] = {{"BM_SwarmFrame", true, 0.0f},
                    {"BM_SwarmFrameWithoutStars", false, 0.0f},
                    {"BM_SwarmFrameCreditsStrungOut", true, 3.6f},
                    {"BM_SwarmFrameCreditsGathered", true, 5.0f}};
    for (const auto& v : variants) {
        const bool stars = v.stars;
        const float credits = v.credits;
        onEachRenderer(
            v.name,
            [stars, credits](benchmark::State& s, const RenderBackend& r) { swarmFrames(s, r, stars, credits); },
            milliseconds);
    }
    return 0;
}();

} // namespace
