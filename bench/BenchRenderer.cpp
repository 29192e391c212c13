#include "bench/BenchRenderer.h"

#include "platform/GlContext.h"
#include "render/Backends.h"
#include "render/FrameTarget.h"
#include "render/ScreenBlit.h"

#include <map>

bool useRenderer(const RenderBackend& renderer) {
    static std::map<const RenderBackend*, FrameTarget> frames;
    if (!useSharedOffscreenContext(renderer.api)) return false;
    useBackend(renderer);
    auto found = frames.find(&renderer);
    if (found == frames.end()) {
        FrameTarget frame;
        if (!prepareFrame(ScreenSize{}, frame)) return false;
        found = frames.emplace(&renderer, frame).first;
    }
    bindFrameTarget(found->second);
    return true;
}

void onEachRenderer(const std::string& name, const RendererBenchmark& run,
                    const std::function<void(benchmark::internal::Benchmark*)>& configure) {
    for (const RenderBackend* renderer : renderBackends()) {
        benchmark::internal::Benchmark* b =
            benchmark::RegisterBenchmark((name + "_" + renderer->name).c_str(), [run, renderer](benchmark::State& s) {
                if (!useRenderer(*renderer)) {
                    s.SkipWithError("no offscreen context of the renderer's API");
                    return;
                }
                run(s, *renderer);
            });
        configure(b);
    }
}
