// Cost of each post operation on the software rasteriser, at the full 512 x 512 size (both flags
// 0, as the director works) and in the scenes' small working mode (both flags 1, 256 x 128).
// Every iteration ends in glFinish and the time is wall time: the rasteriser works on its own
// threads, so the figure is the finished pixel work, not the queueing.

#include "bench/BenchRenderer.h"
#include "post/EffectBuffers.h"
#include "render/Camera.h"
#include "render/FrameProjection.h"
#include "render/PassState.h"
#include "render/ScreenBlit.h"

#include <benchmark/benchmark.h>

#include <map>

namespace {

// One set of effect buffers per renderer, made on first use, and the model whose sizes give
// the small set's projection.
struct PostBenchWorld {
    ScreenSize screen;
    EffectBuffers fx;
    Model sizes{1, 512, 512, 256, 128};

    PostBenchWorld() : fx(512, 512, 256, 128) {}
};

PostBenchWorld& worldOf(const RenderBackend& renderer) {
    static std::map<const RenderBackend*, PostBenchWorld> worlds;
    return worlds.try_emplace(&renderer).first->second;
}

// Puts the frame state of the chosen size in place and gives every texture something to show.
EffectBuffers& prepare(const RenderBackend& renderer, bool small) {
    PostBenchWorld& w = worldOf(renderer);
    EffectBuffers& fx = w.fx;
    setFrameProjection(w.screen, 800, 600);
    beginShowFrame();
    fx.sampleSmall = fx.targetSmall = 0;
    fx.fill(1.0f, 0.3f, 0.5f, 0.2f);
    fx.sampleSmall = fx.targetSmall = small ? 1 : 0;
    for (int i = 0; i < 4; ++i) fx.grab(static_cast<Copy>(i));
    if (small) setOrthoEffect(w.sizes);
    finishFrame();
    return fx;
}

void finish(benchmark::State& state, EffectBuffers& fx) {
    fx.sampleSmall = fx.targetSmall = 0;
    state.counters["passes"] = state.range(1);
}

template <typename Operation>
void runPost(benchmark::State& state, const RenderBackend& renderer, Operation operation) {
    EffectBuffers& fx = prepare(renderer, state.range(0) != 0);
    const int passes = static_cast<int>(state.range(1));
    for (auto _ : state) {
        operation(fx, passes);
        finishFrame();
    }
    finish(state, fx);
}

using PostOperation = void (*)(EffectBuffers& fx, int passes);

// The scenes' glow: a small texture stretched over the full frame.
void overlayUpscale(benchmark::State& state, const RenderBackend& renderer) {
    EffectBuffers& fx = prepare(renderer, true);
    setFrameProjection(worldOf(renderer).screen, 800, 600);
    fx.targetSmall = 0;
    for (auto _ : state) {
        fx.overlay(Copy::Glow, 1.0f, 0.0f, Overlay::Add);
        finishFrame();
    }
    finish(state, fx);
}

// Args: {small set, passes}; the pass counts are ones the show uses.
void sized(benchmark::internal::Benchmark* b) {
    b->ArgNames({"small", "passes"})->Unit(benchmark::kMicrosecond)->UseRealTime();
}
void singlePass(benchmark::internal::Benchmark* b) { sized(b), b->Args({0, 1})->Args({1, 1}); }
void burnPasses(benchmark::internal::Benchmark* b) {
    sized(b), b->Args({0, 1})->Args({0, 2})->Args({1, 1})->Args({1, 2});
}
void blurPasses(benchmark::internal::Benchmark* b) {
    sized(b), b->Args({0, 3})->Args({0, 7})->Args({1, 3})->Args({1, 6});
}
void streakPasses(benchmark::internal::Benchmark* b) {
    sized(b), b->Args({0, 5})->Args({0, 10})->Args({1, 8})->Args({1, 12});
}

void registerPost(const char* name, PostOperation operation, void (*passes)(benchmark::internal::Benchmark*)) {
    onEachRenderer(
        name, [operation](benchmark::State& s, const RenderBackend& r) { runPost(s, r, operation); }, passes);
}

const int kRegistered = [] {
    registerPost("BM_Grab", [](EffectBuffers& fx, int) { fx.grab(Copy::Glow); }, singlePass);
    registerPost("BM_Multiply", [](EffectBuffers& fx, int) { fx.multiply(Copy::Glow); }, singlePass);
    registerPost("BM_Show", [](EffectBuffers& fx, int) { fx.show(Copy::Glow, 1.0f); }, singlePass);
    registerPost("BM_Fill", [](EffectBuffers& fx, int) { fx.fill(0.5f, 1.0f, 1.0f, 1.0f); }, singlePass);
    registerPost(
        "BM_Overlay", [](EffectBuffers& fx, int) { fx.overlay(Copy::Glow, 0.5f, 0.0f, Overlay::Add); }, singlePass);
    onEachRenderer("BM_OverlayUpscale", overlayUpscale, [](benchmark::internal::Benchmark* b) { sized(b), b->Args({1, 1}); });
    registerPost("BM_Burn", [](EffectBuffers& fx, int passes) { fx.burn(Copy::Work, passes, 1.0f); }, burnPasses);
    registerPost(
        "BM_Blur",
        [](EffectBuffers& fx, int passes) {
            fx.blur(Copy::Work, {.passes = passes, .stretchX = 2.0f, .stretchY = 2.0f, .spread = 0.020833334f});
        },
        blurPasses);
    registerPost(
        "BM_ZoomStreak",
        [](EffectBuffers& fx, int passes) {
            fx.zoomStreak(Copy::Glow, {.passes = passes, .alpha = 0.4f, .angle = 0.5f, .strength = 0.15f});
        },
        streakPasses);
    return 0;
}();

} // namespace
