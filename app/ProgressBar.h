#pragma once
// A one-line progress report on standard error: a bar on a terminal, an occasional plain line
// when standard error is a file or a pipe.

#include <cstdint>

class ProgressBar {
public:
    explicit ProgressBar(int64_t totalFrames);
    // Reports that `done` frames are finished and the last one was at demo time demoMs.
    void update(int64_t done, int demoMs);
    // Ends the line.
    void finish();

private:
    int64_t total_ = 0;
    double startSeconds_ = 0.0;
    double lastPrint_ = -1.0;
    bool terminal_ = false;
};

// Seconds on a monotonic clock.
double monotonicSeconds();
