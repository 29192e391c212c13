#include "app/Capture.h"

#include "app/ProgressBar.h"
#include "app/Shell.h"
#include "app/ShowFiles.h"
#include "platform/FrameProfile.h"
#include "platform/Interrupt.h"
#include "platform/MusicStream.h"
#include "platform/PendingFile.h"
#include "platform/PngFile.h"
#include "platform/Quit.h"
#include "platform/VideoEncoder.h"
#include "post/EffectBuffers.h"
#include "render/FrameReadback.h"
#include "render/FrameSize.h"
#include "render/MeshRenderer.h"
#include "render/RenderPath.h"
#include "show/Sections.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

enum class Sink { Video, PngFolder, Null, Shots };

Sink sinkFor(const Options& o) {
    if (o.mode == RunMode::Shots) return Sink::Shots;
    if (o.capturePath == "null") return Sink::Null;
    std::string ext = std::filesystem::path(o.capturePath).extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".mp4" || ext == ".mkv" ? Sink::Video : Sink::PngFolder;
}

// Time spent per show section, for --stats.
struct SectionTiming {
    const char* name = nullptr;
    int64_t frames = 0;
    double frameMs = 0.0;      // render and read-back
    double logicMs = 0.0;      // scene logic inside the render
    double outputMs = 0.0;     // encoding or writing
    int64_t triangles = 0;     // sent by the mesh renderer, every pass counted
    int64_t batches = 0;       // the mesh renderer's draw calls, one per pass
    double effectFrames = 0.0; // effect quads in full frames' worth of pixels
};

void addTiming(std::vector<SectionTiming>& sections, const char* name, double frameMs, double logicMs,
               double outputMs, int64_t triangles, int64_t batches, double effectFrames) {
    if (sections.empty() || sections.back().name != name) sections.push_back(SectionTiming{name});
    SectionTiming& s = sections.back();
    ++s.frames;
    s.frameMs += frameMs;
    s.logicMs += logicMs;
    s.outputMs += outputMs;
    s.triangles += triangles;
    s.batches += batches;
    s.effectFrames += effectFrames;
}

// path: "fast", "reference" or "shader", what the run drew with.
void printTimings(const std::vector<SectionTiming>& sections, double seconds, int64_t frames, int showMs,
                  const char* path) {
    std::printf("\nrender path: %s\n", path);
    std::printf("\n%-12s %7s %8s %10s %10s %10s %10s %8s %8s\n", "section", "frames", "fps", "logic ms",
                "GL ms", "output ms", "triangles", "draws", "passes");
    for (const SectionTiming& s : sections) {
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

// The soundtrack's sample under frame n (44100 Hz): exact, like the frame times.
int64_t fixedStepSample(int64_t n, int fpsNum, int fpsDen) {
    return n * fpsDen * MusicStream::kSampleRate / fpsNum;
}

// Checks and makes the output's folder before anything is loaded or rendered. False after
// saying what is wrong.
bool prepareOutput(Sink sink, const Options& options) {
    std::error_code ec;
    std::filesystem::path folder;
    switch (sink) {
    case Sink::Null:
        return true;
    case Sink::Video:
        folder = std::filesystem::path(options.capturePath).parent_path();
        if (!std::filesystem::is_directory(folder, ec)) {
            std::fprintf(stderr, "castrelle: the folder %s does not exist\n", folder.c_str());
            return false;
        }
        if (std::filesystem::is_directory(options.capturePath, ec)) {
            std::fprintf(stderr, "castrelle: %s is a folder, not a video file\n",
                         options.capturePath.c_str());
            return false;
        }
        break;
    case Sink::PngFolder:
    case Sink::Shots:
        folder = sink == Sink::Shots ? options.outDir : options.capturePath;
        std::filesystem::create_directories(folder, ec);
        if (ec) {
            std::fprintf(stderr, "castrelle: cannot make the folder %s: %s\n", folder.c_str(),
                         ec.message().c_str());
            return false;
        }
        break;
    }
    // A read-only disk or a folder of someone else's is refused now, not after the loading.
    if (access(folder.c_str(), W_OK | X_OK) != 0) {
        std::fprintf(stderr, "castrelle: cannot write in %s: %s\n", folder.c_str(), std::strerror(errno));
        return false;
    }
    return true;
}

} // namespace

int runCapture(const Options& options) {
    const Sink sink = sinkFor(options);
    std::vector<int> shots = options.shotTimes;
    std::sort(shots.begin(), shots.end());
    // The show quits at its end, so no frame is rendered there or later.
    const int toMs = sink == Sink::Shots ? std::min(shots.back(), timetable::kShowEnd - 1) + 1
                                         : std::min(options.toMs, timetable::kShowEnd);
    // Every frame depends on the ones before it (scene clocks, feedback copies), so the show is
    // rendered from its start whatever the range: a range's frames are the whole capture's
    // frames. Those before the range are drawn and not written.
    const int64_t firstWritten =
        sink == Sink::Shots ? 0 : fixedStepFrameCount(options.fpsNum, options.fpsDen, 0, options.fromMs);
    const int fromMs = fixedStepTime(firstWritten, options.fpsNum, options.fpsDen, 0);
    if (fromMs >= toMs) {
        std::fprintf(stderr, "castrelle: no frame at this frame rate falls between --from and --to\n");
        return 2;
    }
    if (!prepareOutput(sink, options)) return 1;

    // The soundtrack is checked as the player checks it, before minutes of rendering.
    const bool withAudio = sink == Sink::Video && options.musicEnabled;
    MusicStream soundtrack;
    if (withAudio && !soundtrack.open(kMusicFile, false)) {
        reportUnreadableFile(kMusicFile, soundtrack.openError());
        return 1;
    }

    Shell shell;
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
    int status = 0;
    if (!shell.startUp(desc, status)) return status;
    if (startupFailed()) {
        shell.shutDown();
        return 1;
    }

    // From here a signal ends the capture in order, so nothing half-made is left behind.
    deferInterrupts();
    PendingFile video; // written beside the target, put in its place only once whole
    VideoEncoder encoder;
    if (sink == Sink::Video) {
        const int fd = video.create(options.capturePath);
        if (fd < 0) {
            const int error = errno;
            std::fprintf(stderr, "castrelle: cannot write in %s: %s\n",
                         std::filesystem::path(options.capturePath).parent_path().c_str(),
                         std::strerror(error));
            shell.shutDown();
            return 1;
        }
        close(fd);
        VideoDesc videoDesc;
        videoDesc.path = video.path();
        videoDesc.width = options.width;
        videoDesc.height = options.height;
        videoDesc.fpsNum = options.fpsNum;
        videoDesc.fpsDen = options.fpsDen;
        if (withAudio) {
            // The sound from under the first frame written to the end of the show (a frame rate
            // slower than the show would otherwise ask for hours of silence).
            const int64_t first = fixedStepSample(firstWritten, options.fpsNum, options.fpsDen);
            soundtrack.decodeFrom(first);
            videoDesc.soundtrack = &soundtrack;
            videoDesc.soundSamples = int64_t{timetable::kShowEnd} * MusicStream::kSampleRate / 1000 - first;
        }
        if (!encoder.start(videoDesc)) {
            shell.shutDown();
            return 1;
        }
    }

    const int64_t total = fixedStepFrameCount(options.fpsNum, options.fpsDen, 0, toMs);
    ProgressBar progress(total);
    FrameReader reader;
    std::vector<SectionTiming> timings;
    double start = monotonicSeconds(); // of the written frames
    size_t nextShot = 0;
    bool outputOk = true;
    std::string failedFile; // the PNG whose writing failed, and why
    int failure = 0;
    int64_t n = 0;
    int64_t written = 0;
    int lastTime = fromMs;
    for (; n < total && !interruptSignal() && !shell.quitRequested; ++n) {
        const int t = fixedStepTime(n, options.fpsNum, options.fpsDen, 0);
        if (n < firstWritten) {
            shell.renderFrame(t);
            progress.update(n + 1, t);
            continue;
        }
        const double t0 = monotonicSeconds();
        if (written == 0) start = t0;
        frameProfile().logicMs = 0.0;
        resetDrawnTriangles();
        resetDrawnBatches();
        resetEffectQuadFrames();
        shell.renderFrame(t);
        if (shell.quitRequested) break; // the show is over: nothing was drawn
        const uint8_t* rgb = reader.read(options.width, options.height);
        const double t1 = monotonicSeconds();
        char name[64];
        switch (sink) {
        case Sink::Video:
            outputOk = encoder.write(rgb);
            break;
        case Sink::PngFolder: {
            std::snprintf(name, sizeof name, "frame_%06lld.png", static_cast<long long>(written));
            const auto path = std::filesystem::path(options.capturePath) / name;
            if (!writePng(path.c_str(), rgb, options.width, options.height, failure)) {
                outputOk = false;
                failedFile = path.string();
            }
            break;
        }
        case Sink::Shots:
            // Each requested time is shown by the first frame at or after it.
            while (outputOk && nextShot < shots.size() && shots[nextShot] <= t) {
                std::snprintf(name, sizeof name, "shot_%06d.png", shots[nextShot]);
                const auto path = std::filesystem::path(options.outDir) / name;
                if (!writePng(path.c_str(), rgb, options.width, options.height, failure)) {
                    outputOk = false;
                    failedFile = path.string();
                    break;
                }
                std::printf("%s (frame %lld at %d ms)\n", path.c_str(), static_cast<long long>(n), t);
                ++nextShot;
            }
            break;
        case Sink::Null:
            break;
        }
        if (!outputOk) break; // this frame was not written
        const double t2 = monotonicSeconds();
        addTiming(timings, timetable::sectionNameAt(t), (t1 - t0) * 1000.0, frameProfile().logicMs,
                  (t2 - t1) * 1000.0, drawnTriangles(), drawnBatches(), effectQuadFrames());
        lastTime = t;
        ++written;
        progress.update(n + 1, t);
    }
    progress.finish();
    const double seconds = monotonicSeconds() - start;
    const char* pathName = renderPathName(); // asked while the context is current
    // ffmpeg says itself why it failed.
    const bool encoded = sink != Sink::Video || encoder.finish();
    shell.shutDown();

    if (!failedFile.empty())
        std::fprintf(stderr, "castrelle: cannot write %s: %s\n", failedFile.c_str(), std::strerror(failure));
    if (interruptSignal())
        std::fprintf(stderr, "Interrupted after %lld frames.\n", static_cast<long long>(written));
    // A video that holds no frame (stopped before its range) or could not be finished is dropped,
    // and what was at its place stays; an interrupted one was closed properly by ffmpeg and is kept.
    bool kept = true;
    if (sink == Sink::Video && encoded && written > 0) {
        kept = video.commit();
        const int error = errno;
        if (kept) {
            std::printf("Wrote %s (%lld frames)\n", options.capturePath.c_str(),
                        static_cast<long long>(written));
        } else {
            std::fprintf(stderr, "castrelle: cannot put the video in place of %s (%s); it is in %s\n",
                         options.capturePath.c_str(), std::strerror(error), video.path().c_str());
            video.release();
        }
    }
    if (sink == Sink::PngFolder)
        std::printf("Wrote %lld PNG frames to %s\n", static_cast<long long>(written),
                    options.capturePath.c_str());
    if (options.stats && written > 0) printTimings(timings, seconds, written, lastTime - fromMs,
                   pathName);
    if (interruptSignal()) return interruptExitStatus();
    if (shell.glError != 0) {
        std::fprintf(stderr, "castrelle: the capture ran into a GL error (above); its frames may be wrong\n");
        return 1;
    }
    if (!outputOk || !encoded || !kept) return 1;
    if (nextShot < shots.size()) {
        std::fprintf(
            stderr, "castrelle: these shots were not written (the show ends at %d ms):", timetable::kShowEnd);
        for (size_t i = nextShot; i < shots.size(); ++i) std::fprintf(stderr, " %d", shots[i]);
        std::fputc('\n', stderr);
        return 1;
    }
    return 0;
}
