// Cost of each post operation on the software rasteriser, at the full 512 x 512 size (both flags
// 0, as the director works) and in the scenes' small working mode (both flags 1, 256 x 128).
// Every iteration ends in glFinish and the time is wall time: the rasteriser works on its own
// threads, so the figure is the finished pixel work, not the queueing.

#include "platform/GlContext.h"
#include "post/EffectBuffers.h"
#include "render/FrameProjection.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

namespace {

// One record for the whole run, made on first use in the shared offscreen context.
struct PostBenchWorld {
    ScreenSize screen;
    EffectBuffers fx;
    bool ready = false;
};

PostBenchWorld& world() {
    static PostBenchWorld w;
    static bool tried = false;
    const bool current = useSharedOffscreenContext();
    if (!tried && current) {
        initGlState();
        w.fx = EffectBuffers(512, 512, 256, 128);
        w.ready = true;
    }
    tried = true;
    return w;
}

// Puts the frame state of the chosen size in place and gives every texture something to show.
EffectBuffers* prepare(benchmark::State& state, bool small) {
    PostBenchWorld& w = world();
    if (!w.ready) {
        state.SkipWithError("no offscreen OpenGL context");
        return nullptr;
    }
    EffectBuffers& fx = w.fx;
    setFrameProjection(w.screen, 800, 600);
    glLoadIdentity();
    glDepthFunc(GL_ALWAYS);
    glClearColor(0.3f, 0.5f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    fx.sampleSmall = fx.targetSmall = small ? 1 : 0;
    for (int i = 0; i < 4; ++i) fx.grab(static_cast<Copy>(i));
    if (small) {
        glViewport(0, 0, fx.smallWidth, fx.smallHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-fx.smallHalfWidth, fx.smallHalfWidth, -fx.smallHalfHeight, fx.smallHalfHeight, 0.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
    }
    glFinish();
    return &fx;
}

void finish(benchmark::State& state, EffectBuffers& fx) {
    fx.sampleSmall = fx.targetSmall = 0;
    state.counters["passes"] = state.range(1);
}

template <typename Operation>
void runPost(benchmark::State& state, Operation operation) {
    EffectBuffers* fx = prepare(state, state.range(0) != 0);
    if (!fx) return;
    const int passes = static_cast<int>(state.range(1));
    for (auto _ : state) {
        operation(*fx, passes);
        glFinish();
    }
    finish(state, *fx);
}

void BM_Grab(benchmark::State& state) {
    runPost(state, [](EffectBuffers& fx, int) { fx.grab(Copy::Glow); });
}
void BM_Multiply(benchmark::State& state) {
    runPost(state, [](EffectBuffers& fx, int) { fx.multiply(Copy::Glow); });
}
void BM_Show(benchmark::State& state) {
    runPost(state, [](EffectBuffers& fx, int) { fx.show(Copy::Glow, 1.0f); });
}
void BM_Fill(benchmark::State& state) {
    runPost(state, [](EffectBuffers& fx, int) { fx.fill(0.5f, 1.0f, 1.0f, 1.0f); });
}
void BM_Overlay(benchmark::State& state) {
    runPost(state, [](EffectBuffers& fx, int) { fx.overlay(Copy::Glow, 0.5f, 0.0f, Overlay::Add); });
}
void BM_Burn(benchmark::State& state) {
    runPost(state, [](EffectBuffers& fx, int passes) { fx.burn(Copy::Work, passes, 1.0f); });
}
void BM_Blur(benchmark::State& state) {
    runPost(state, [](EffectBuffers& fx, int passes) {
        fx.blur(Copy::Work, {.passes = passes, .stretchX = 2.0f, .stretchY = 2.0f, .spread = 0.020833334f});
    });
}
void BM_ZoomStreak(benchmark::State& state) {
    runPost(state, [](EffectBuffers& fx, int passes) {
        fx.zoomStreak(Copy::Glow, {.passes = passes, .alpha = 0.4f, .angle = 0.5f, .strength = 0.15f});
    });
}

// The scenes' glow: a small texture stretched over the full frame.
void BM_OverlayUpscale(benchmark::State& state) {
    EffectBuffers* fx = prepare(state, true);
    if (!fx) return;
    setFrameProjection(world().screen, 800, 600);
    fx->targetSmall = 0;
    for (auto _ : state) {
        fx->overlay(Copy::Glow, 1.0f, 0.0f, Overlay::Add);
        glFinish();
    }
    finish(state, *fx);
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

BENCHMARK(BM_Grab)->Apply(singlePass);
BENCHMARK(BM_Multiply)->Apply(singlePass);
BENCHMARK(BM_Show)->Apply(singlePass);
BENCHMARK(BM_Fill)->Apply(singlePass);
BENCHMARK(BM_Overlay)->Apply(singlePass);
BENCHMARK(BM_OverlayUpscale)->Apply(sized)->Args({1, 1});
BENCHMARK(BM_Burn)->Apply(burnPasses);
BENCHMARK(BM_Blur)->Apply(blurPasses);
BENCHMARK(BM_ZoomStreak)->Apply(streakPasses);

} // namespace
