// Cost of one star-swarm frame on the software rasteriser, on the generated data: the whole
// frame (up to 450 stars drawn in two passes of two batches each, the ball, the glow), the same
// without the stars, and with the credit sprites while the row is strung out and gathered.
#include "app/LoadAll.h"
#include "platform/GlContext.h"
#include "platform/MessageBox.h"
#include "platform/Quit.h"
#include "render/MeshRenderer.h"
#include "scenes/SceneRegistry.h"

#include <GL/gl.h>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

struct SwarmFixture {
    std::unique_ptr<ShowScenes> scenes = std::make_unique<ShowScenes>();
    ShowResources show;
    bool ready = false;

    SwarmFixture() {
        if (!useSharedOffscreenContext()) return;
        setMessageBoxesInteractive(false);
        const auto previous = std::filesystem::current_path();
        std::filesystem::current_path(CASTRELLE_DEFAULT_DATA_DIR);
        scenes->selected = SceneSet::only(SceneId::Kukkeli);
        loadAll(show, sceneCallsFor(*scenes), LoadSizes{}, BarStep{nullptr, [](void*) {}});
        std::filesystem::current_path(previous);
        ready = !startupFailed();
    }
};

SwarmFixture& fixture() {
    static SwarmFixture f;
    return f;
}

// Frames at a fixed scene time in the wide view, where most stars are in view.
void swarmFrames(benchmark::State& state, bool stars, float credits) {
    SwarmFixture& f = fixture();
    if (!f.ready) {
        state.SkipWithError("no offscreen OpenGL context or no generated data");
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
        glFinish();
    }
    scene.starsEnabled = true;
    state.counters["draws/frame"] =
        static_cast<double>(drawnBatches()) / static_cast<double>(state.iterations());
}

void BM_SwarmFrame(benchmark::State& state) { swarmFrames(state, true, 0.0f); }
void BM_SwarmFrameWithoutStars(benchmark::State& state) { swarmFrames(state, false, 0.0f); }
void BM_SwarmFrameCreditsStrungOut(benchmark::State& state) { swarmFrames(state, true, 3.6f); }
void BM_SwarmFrameCreditsGathered(benchmark::State& state) { swarmFrames(state, true, 5.0f); }

} // namespace

BENCHMARK(BM_SwarmFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SwarmFrameWithoutStars)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SwarmFrameCreditsStrungOut)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SwarmFrameCreditsGathered)->Unit(benchmark::kMillisecond)->UseRealTime();
