#include "anim/Envelope.h"
#include "math/Vec.h"

#include <benchmark/benchmark.h>

#include <vector>

// Per-vertex cost of the rotate-and-normalize work the scenes do on every frame.
static void BM_RotateNormalize(benchmark::State& state) {
    std::vector<Vec3> points(4096, Vec3(1.0f, 2.0f, 3.0f));
    float angle = 0.1f;
    for (auto _ : state) {
        for (Vec3& p : points) {
            rotateY(p, angle);
            p.normalize();
        }
        angle += 0.001f;
        benchmark::DoNotOptimize(points.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
}
BENCHMARK(BM_RotateNormalize);

static void BM_EnvelopeFadeInOut(benchmark::State& state) {
    Envelope e;
    e.inStart = 0, e.inLength = 1500, e.outStart = 3000, e.outLength = 1500;
    float t = 0.0f, sum = 0.0f;
    for (auto _ : state) {
        sum += e.fadeInOut(t, 1, 1);
        t = t > 5000.0f ? 0.0f : t + 0.7f;
    }
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_EnvelopeFadeInOut);
