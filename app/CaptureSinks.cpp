#include "app/CaptureSinks.h"

#include "app/MemoryNeed.h"
#include "app/Shell.h"
#include "app/ShowFiles.h"
#include "platform/Interrupt.h"
#include "platform/PngFile.h"
#include "platform/Quit.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A read-only disk or a folder of someone else's is refused before the loading, not after it.
bool canWriteIn(const fs::path& folder) {
    if (access(folder.c_str(), W_OK | X_OK) == 0) return true;
    std::fprintf(stderr, "castrelle: cannot write in %s: %s\n", folder.c_str(), std::strerror(errno));
    return false;
}

bool makeFolder(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!ec) return canWriteIn(folder);
    std::fprintf(stderr, "castrelle: cannot make the folder %s: %s\n", folder.c_str(), ec.message().c_str());
    return false;
}

// The name of a frame an earlier capture left in the folder, or "" when there is none.
std::string earlierFrame(const fs::path& folder) {
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
        const std::string name = e.path().filename().string();
        if (name.size() == 16 && name.rfind("frame_", 0) == 0 && e.path().extension() == ".png") return name;
    }
    return {};
}

// The soundtrack's sample under frame n (44100 Hz): exact, like the frame times.
int64_t fixedStepSample(int64_t n, int fpsNum, int fpsDen) {
    return n * fpsDen * MusicStream::kSampleRate / fpsNum;
}

} // namespace

bool CaptureTarget::writePngFile(const std::string& path, const uint8_t* rgb) {
    if (writePng(path.c_str(), rgb, options.width, options.height, failure)) return true;
    failedFile = path;
    return false;
}

bool CaptureTarget::reportFailure() const {
    if (failedFile.empty()) return true;
    std::fprintf(stderr, "castrelle: cannot write %s: %s\n", failedFile.c_str(), std::strerror(failure));
    return false;
}

bool VideoSink::prepare() {
    const fs::path folder = fs::path(options.capturePath).parent_path();
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        std::fprintf(stderr, "castrelle: the folder %s does not exist\n", folder.c_str());
        return false;
    }
    if (fs::is_directory(options.capturePath, ec)) {
        std::fprintf(stderr, "castrelle: %s is a folder, not a video file\n", options.capturePath.c_str());
        return false;
    }
    if (!canWriteIn(folder)) return false;
    // The soundtrack is checked as the player checks it, before minutes of rendering.
    if (!options.musicEnabled) return true;
    if (!soundtrack.open(kMusicFile, false)) {
        reportUnreadableFile(kMusicFile, soundtrack.openError());
        return false;
    }
    noteSoundtrackLength(soundtrack);
    return true;
}

bool VideoSink::open() {
    const int fd = file.create(options.capturePath);
    if (fd < 0) {
        std::fprintf(stderr, "castrelle: cannot write in %s: %s\n",
                     fs::path(options.capturePath).parent_path().c_str(), std::strerror(errno));
        return false;
    }
    close(fd);
    needMemoryFor("the video encoder");
    VideoDesc desc;
    desc.path = file.path();
    desc.width = options.width;
    desc.height = options.height;
    desc.fpsNum = options.fpsNum;
    desc.fpsDen = options.fpsDen;
    if (soundtrack.isOpen()) {
        // The sound from under the first frame written to the end of the show.
        const int64_t first = fixedStepSample(plan.firstWritten, options.fpsNum, options.fpsDen);
        soundtrack.decodeFrom(first);
        desc.soundtrack = &soundtrack;
        desc.soundSamples = int64_t{timetable::kShowEnd} * MusicStream::kSampleRate / 1000 - first;
    }
    return encoder.start(desc);
}

bool VideoSink::write(const uint8_t* rgb, int64_t, int) { return encoder.write(rgb); }

// A video that holds no frame (stopped before its range) or could not be finished is dropped, and
// what was at its place stays; an interrupted one was closed properly by ffmpeg and is kept.
bool VideoSink::finish(int64_t written) {
    if (!encoder.finish()) return false; // ffmpeg says itself why
    if (written == 0) return true;
    if (!file.commit()) {
        std::fprintf(stderr, "castrelle: cannot put the video in place of %s (%s); it is in %s\n",
                     options.capturePath.c_str(), std::strerror(errno), file.path().c_str());
        file.release();
        return false;
    }
    std::printf("Wrote %s (%lld frames)\n", options.capturePath.c_str(), static_cast<long long>(written));
    return true;
}

// Frames of two runs in one folder would pass for one capture: an earlier run's are never mixed
// with this one's, nor deleted.
bool PngFolderSink::prepare() {
    if (!makeFolder(options.capturePath)) return false;
    const std::string earlier = earlierFrame(options.capturePath);
    if (earlier.empty()) return true;
    std::fprintf(stderr,
                 "castrelle: %s already holds the frames of an earlier capture (%s, ...); name a new or "
                 "empty folder\n",
                 options.capturePath.c_str(), earlier.c_str());
    return false;
}

bool PngFolderSink::write(const uint8_t* rgb, int64_t, int) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06lld.png", static_cast<long long>(count));
    if (!writePngFile((fs::path(options.capturePath) / name).string(), rgb)) return false;
    ++count;
    return true;
}

bool PngFolderSink::finish(int64_t written) {
    const bool ok = reportFailure();
    std::printf("Wrote %lld PNG frames to %s\n", static_cast<long long>(written),
                options.capturePath.c_str());
    return ok;
}

bool ShotSink::prepare() { return makeFolder(options.outDir); }

bool ShotSink::write(const uint8_t* rgb, int64_t n, int t) {
    for (; next < plan.shots.size() && plan.shots[next] <= t; ++next) {
        char name[32];
        std::snprintf(name, sizeof name, "shot_%06d.png", plan.shots[next]);
        const std::string path = (fs::path(options.outDir) / name).string();
        if (!writePngFile(path, rgb)) return false;
        std::printf("%s (frame %lld at %d ms)\n", path.c_str(), static_cast<long long>(n), t);
    }
    return true;
}

// Every shot's frame lies before the end of the show (the plan sees to it): one not written was
// cut short by a signal or a failed write.
bool ShotSink::finish(int64_t) {
    if (!reportFailure()) return false;
    if (next == plan.shots.size() || interruptSignal()) return true;
    std::fputs("castrelle: these shots were not written:", stderr);
    for (size_t i = next; i < plan.shots.size(); ++i) std::fprintf(stderr, " %d", plan.shots[i]);
    std::fputc('\n', stderr);
    return false;
}
