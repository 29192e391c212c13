#pragma once
// Where a capture's frames go: one plain struct per kind of output, all with the same steps, which
// the capture loop (Capture.cpp) calls in this order:
//
//   prepare()         before anything is loaded: checks the output's place and makes its folder
//   open()            once the show is loaded: starts the output
//   write(rgb, n, t)  the finished frame n, at demo time t (RGB rows from the top)
//   finish(written)   ends the output with the whole frames written and says what was made
//
// Each returns false once the output cannot go on; the reason has been said on standard error by
// then (that of a failed write comes with finish, after the progress line).

#include "app/CapturePlan.h"
#include "app/CommandLine.h"
#include "platform/MusicStream.h"
#include "platform/PendingFile.h"
#include "platform/VideoEncoder.h"

#include <cstdint>
#include <string>

// The part of a capture every output shares: what was asked, and the failed write of a file.
struct CaptureTarget {
    const Options& options;
    const CapturePlan& plan;
    std::string failedFile; // the file whose writing failed
    int failure = 0;        // and the errno saying why

    bool writePngFile(const std::string& path, const uint8_t* rgb);
    // Says which file could not be written and why; true when none failed.
    bool reportFailure() const;
};

// H.264 through ffmpeg, with the soundtrack unless --no-music; written beside the target and put in
// its place only once whole.
struct VideoSink : CaptureTarget {
    MusicStream soundtrack;
    PendingFile file;
    VideoEncoder encoder;

    bool prepare();
    bool open();
    bool write(const uint8_t* rgb, int64_t n, int t);
    bool finish(int64_t written);
};

// frame_000000.png, frame_000001.png, ... in a folder that holds no earlier capture's frames.
struct PngFolderSink : CaptureTarget {
    bool prepare();
    bool open() { return true; }
    bool write(const uint8_t* rgb, int64_t n, int t);
    bool finish(int64_t written);

    int64_t count = 0;
};

// shot_MS.png for each time asked, from the first frame at or after it.
struct ShotSink : CaptureTarget {
    bool prepare();
    bool open() { return true; }
    bool write(const uint8_t* rgb, int64_t n, int t);
    bool finish(int64_t written);

    size_t next = 0; // the first shot not yet written
};

// Drawn and read back, then dropped: for timing.
struct NullSink : CaptureTarget {
    bool prepare() { return true; }
    bool open() { return true; }
    bool write(const uint8_t*, int64_t, int) { return true; }
    bool finish(int64_t) { return true; }
};
