#include "app/Capture.h"

#include "app/CapturePlan.h"
#include "app/CaptureSinks.h"
#include "app/CaptureStats.h"
#include "app/MemoryNeed.h"
#include "app/ProgressBar.h"
#include "app/Shell.h"
#include "platform/Interrupt.h"
#include "platform/Quit.h"
#include "render/FrameReadback.h"
#include "render/FrameSize.h"
#include "render/RenderPath.h"

#include <cstdio>
#include <new>
#include <string>

namespace {

// What the frame loop did: the frames written, and the time and show they took.
struct CaptureRun {
    int64_t written = 0;
    bool outputOk = true; // every frame asked for was written
    double seconds = 0.0; // from the first written frame on
    int showMs = 0;       // of show between the first and the last written frame
};

// Opens the offscreen context at the capture's size and loads the show, with no console lines
// per frame. False when the capture must end; status then holds the exit status.
bool startHeadless(Shell& shell, const Options& options, int& status) {
    shell.printStatus = false;
    shell.scenes.get<CaveScene>().printCampos = false;
    const int frameSize =
        options.frameSize ? options.frameSize : defaultFrameFor(options.width, options.height);
    shell.screen.frameWidth = shell.screen.frameHeight = frameSize;
    WindowDesc desc;
    desc.offscreen = true;
    desc.fullscreen = false;
    desc.width = options.width;
    desc.height = options.height;
    desc.quietWithoutEs = options.renderer == nullptr;
    if (!shell.startUp(desc, status)) return false;
    if (!startupFailed()) return true;
    shell.shutDown();
    status = 1;
    return false;
}

// Draws the plan's frames from the show's start and hands those from firstWritten on to the sink,
// until the last, a signal or a write that fails.
template <class Sink>
CaptureRun drawFrames(Shell& shell, Sink& sink, const CapturePlan& plan, CaptureStats& stats) {
    const Options& o = sink.options;
    ProgressBar progress(plan.frameCount);
    FrameReader reader;
    needMemoryFor("the read-back of the %d x %d frame", o.width, o.height);
    CaptureRun run;
    double start = monotonicSeconds();
    int firstTime = 0;
    for (int64_t n = 0; n < plan.frameCount && !interruptSignal() && !shell.quitRequested; ++n) {
        const int t = fixedStepTime(n, o.fpsNum, o.fpsDen, 0);
        if (n < plan.firstWritten) {
            shell.renderFrame(t);
            progress.update(n + 1, t);
            continue;
        }
        const double t0 = monotonicSeconds();
        if (run.written == 0) start = t0, firstTime = t;
        stats.startFrame();
        shell.renderFrame(t);
        if (shell.quitRequested) break; // the show is over: nothing was drawn
        const uint8_t* rgb = reader.read(o.width, o.height);
        const double t1 = monotonicSeconds();
        if (!sink.write(rgb, n, t)) {
            run.outputOk = false; // this frame was not written
            break;
        }
        stats.add(t, (t1 - t0) * 1000.0, (monotonicSeconds() - t1) * 1000.0);
        run.showMs = t - firstTime;
        ++run.written;
        progress.update(n + 1, t);
    }
    progress.finish();
    run.seconds = monotonicSeconds() - start;
    return run;
}

template <class Sink>
int capture(const Options& options, const CapturePlan& plan) {
    Sink sink{{options, plan}};
    if (!sink.prepare()) return 1;
    Shell shell;
    int status = 0;
    if (!startHeadless(shell, options, status)) return status;
    // From here a signal ends the capture in order, so nothing half-made is left behind.
    deferInterrupts();
    if (!sink.open()) {
        shell.shutDown();
        return 1;
    }
    CaptureStats stats;
    const CaptureRun run = drawFrames(shell, sink, plan, stats);
    const char* pathName = renderPathName(); // asked while the context is current
    const bool finished = sink.finish(run.written);
    shell.shutDown();

    if (interruptSignal())
        std::fprintf(stderr, "Interrupted after %lld frames.\n", static_cast<long long>(run.written));
    if (options.stats && run.written > 0)
        stats.print(run.seconds, run.written, run.showMs, pathName);
    if (interruptSignal()) return interruptExitStatus();
    if (shell.glError != 0) {
        std::fprintf(stderr, "castrelle: the capture ran into a GL error (above); its frames may be wrong\n");
        return 1;
    }
    return run.outputOk && finished ? 0 : 1;
}

} // namespace

int runCapture(const Options& options) {
    CapturePlan plan;
    std::string error;
    if (const int status = planCapture(options, plan, error)) {
        std::fprintf(stderr, "castrelle: %s\n", error.c_str());
        return status;
    }
    try {
        switch (plan.output) {
        case CaptureOutput::Video:
            return capture<VideoSink>(options, plan);
        case CaptureOutput::PngFolder:
            return capture<PngFolderSink>(options, plan);
        case CaptureOutput::Shots:
            return capture<ShotSink>(options, plan);
        case CaptureOutput::Null:
            break;
        }
        return capture<NullSink>(options, plan);
    } catch (const std::bad_alloc&) {
        return reportOutOfMemory();
    }
}
