#include "app/CaptureStats.h"

#include "platform/FrameProfile.h"
#include "post/EffectBuffers.h"
#include "render/MeshRenderer.h"
#include "show/Sections.h"

#include <cstdio>
#include <sys/resource.h>

void CaptureStats::startFrame() {
    frameProfile().logicMs = 0.0;
    resetDrawnTriangles();
    resetDrawnBatches();
    resetEffectQuadFrames();
}

void CaptureStats::add(int t, double frameMs, double outputMs) {
    const char* name = timetable::sectionNameAt(t);
    if (sections_.empty() || sections_.back().name != name) sections_.push_back(Section{name});
    Section& s = sections_.back();
    ++s.frames;
    s.frameMs += frameMs;
    s.logicMs += frameProfile().logicMs;
    s.outputMs += outputMs;
    s.triangles += drawnTriangles();
    s.batches += drawnBatches();
    s.effectFrames += effectQuadFrames();
}

void CaptureStats::print(double seconds, int64_t frames, int showMs, const char* path) const {
    std::printf("\nrender path: %s\n", path);
    std::printf("\n%-12s %7s %8s %10s %10s %10s %10s %8s %8s\n", "section", "frames", "fps", "logic ms",
                "GL ms", "output ms", "triangles", "draws", "passes");
    for (const Section& s : sections_) {
        const double n = static_cast<double>(s.frames);
        std::printf("%-12s %7lld %8.1f %10.2f %10.2f %10.2f %10.0f %8.0f %8.1f\n", s.name,
                    static_cast<long long>(s.frames),
                    s.frameMs > 0 ? 1000.0 * n / (s.frameMs + s.outputMs) : 0.0, s.logicMs / n,
                    (s.frameMs - s.logicMs) / n, s.outputMs / n, static_cast<double>(s.triangles) / n,
                    static_cast<double>(s.batches) / n, s.effectFrames / n);
    }
    std::printf("(per frame; draws: mesh passes sent; passes: post-stack quads in full frames' worth of "
                "pixels)\n");
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("\n%lld frames in %.1f s: %.1f fps; %.2f s of show per second; peak memory %.1f MiB\n",
                static_cast<long long>(frames), seconds, frames / seconds, showMs * 0.001 / seconds,
                usage.ru_maxrss / 1024.0);
}
