// Per-call costs of the animation primitives the scenes use every frame, with stb's Perlin noise
// measured in the same run as a peer for the noise lookup.
#include "anim/NoiseField.h"
#include "anim/Random.h"
#include "anim/SplinePath.h"

#include <benchmark/benchmark.h>

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#endif
#define STB_PERLIN_IMPLEMENTATION
#include <stb/stb_perlin.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

#include <vector>

namespace {

// Non-negative sample points spread over many cells, as the scenes pass them (|...| offsets).
const std::vector<Vec3>& samplePoints() {
    static const std::vector<Vec3> points = [] {
        std::vector<Vec3> p(4096);
        RandomGenerator g;
        g.seed(42);
        for (Vec3& v : p)
            v.set(static_cast<float>(g.draw()) * 0.01f, static_cast<float>(g.draw()) * 0.01f,
                  static_cast<float>(g.draw()) * 0.01f);
        return p;
    }();
    return points;
}

// Noise per call; the argument is the table size (256 is the common one, 65536 the largest).
void BM_NoiseFieldNoise(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    const NoiseField field(size, size - 1, 10);
    const std::vector<Vec3>& points = samplePoints();
    for (auto _ : state) {
        float sum = 0.0f;
        for (const Vec3& p : points) sum += field.noise(p.x, p.y, p.z);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
}
BENCHMARK(BM_NoiseFieldNoise)->Arg(256)->Arg(65536);

void BM_StbPerlinNoise3(benchmark::State& state) {
    const std::vector<Vec3>& points = samplePoints();
    for (auto _ : state) {
        float sum = 0.0f;
        for (const Vec3& p : points) sum += stb_perlin_noise3(p.x, p.y, p.z, 0, 0, 0);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
}
BENCHMARK(BM_StbPerlinNoise3);

// The star-ball scene's per-vertex turbulence: five octaves.
void BM_NoiseFieldTurbulence5(benchmark::State& state) {
    const NoiseField field(256, 255, 10);
    const std::vector<Vec3>& points = samplePoints();
    for (auto _ : state) {
        float sum = 0.0f;
        for (const Vec3& p : points) sum += field.turbulence(p.x, p.y, p.z, 5);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
}
BENCHMARK(BM_NoiseFieldTurbulence5);

void BM_StbPerlinTurbulence5(benchmark::State& state) {
    const std::vector<Vec3>& points = samplePoints();
    for (auto _ : state) {
        float sum = 0.0f;
        for (const Vec3& p : points) sum += stb_perlin_turbulence_noise3(p.x, p.y, p.z, 2.0f, 0.5f, 5);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
}
BENCHMARK(BM_StbPerlinTurbulence5);

// The scenes' camera loop, resampled the way their set-ups do it.
SplinePath resampledCameraLoop() {
    const float p[9][3] = {{-20, 10, 25}, {20, 7, 15},  {-20, 27, 25}, {30, 17, 25}, {-30, 15, 15},
                           {20, -15, 25}, {-30, 12, 5}, {20, 21, 5},   {-14, 32, 25}};
    SplinePath source(100, true);
    for (const auto& q : p) source.addPoint(q[0], q[1], q[2]);
    source.build(29.0f, true);
    source.planResample();
    SplinePath path(source.resampleCount, true);
    source.resampleInto(path);
    return path;
}

void BM_SplinePathAdvance(benchmark::State& state) {
    SplinePath path = resampledCameraLoop();
    Vec3 p;
    for (auto _ : state) {
        path.advance(p, 15.0f, 16.0f);
        benchmark::DoNotOptimize(p);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SplinePathAdvance);

// Start-up cost of one camera path: build, plan and resample (which builds the result too).
void BM_SplinePathBuildAndResample(benchmark::State& state) {
    for (auto _ : state) {
        SplinePath path = resampledCameraLoop();
        benchmark::DoNotOptimize(path.totalLength);
    }
}
BENCHMARK(BM_SplinePathBuildAndResample)->Unit(benchmark::kMillisecond);

// A noise field of the largest size, built at start-up.
void BM_NoiseFieldConstruct65536(benchmark::State& state) {
    for (auto _ : state) {
        NoiseField field(65536, 65535, 512);
        benchmark::DoNotOptimize(field.permA.data());
    }
}
BENCHMARK(BM_NoiseFieldConstruct65536)->Unit(benchmark::kMillisecond);

} // namespace
