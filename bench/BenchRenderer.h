#pragma once
// The GL benchmarks run once per renderer, each on the shared offscreen context of its API and
// through the fronts the show draws with, into the show's 512 frame target.

#include "render/Backend.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <string>

// Makes the renderer the one that draws, on a current context of its API, brought up as the
// shell brings it up, with its frame target bound. False when there is no such context.
bool useRenderer(const RenderBackend& renderer);

using RendererBenchmark = std::function<void(benchmark::State&, const RenderBackend&)>;

// Registers the benchmark once per renderer, named NAME_fixed, NAME_shader and so on; each run
// first makes its renderer current (skipped with a message where it cannot be).
void onEachRenderer(const std::string& name, const RendererBenchmark& run,
                    const std::function<void(benchmark::internal::Benchmark*)>& configure);
