#pragma once
// Headless, frame-exact rendering of the show at a fixed frame rate: to a video with the
// soundtrack, to numbered PNGs, to nowhere (for timing), or as PNG shots of chosen moments.

#include "app/CommandLine.h"

#include <cstdint>

// Demo time of frame n at fpsNum/fpsDen frames per second, from fromMs: exact integer arithmetic,
// so the same frame always gets the same time.
int fixedStepTime(int64_t n, int fpsNum, int fpsDen, int fromMs);

// Number of frames whose time lies in [fromMs, toMs).
int64_t fixedStepFrameCount(int fpsNum, int fpsDen, int fromMs, int toMs);

// Runs a --capture or --shot job; returns the process exit status.
int runCapture(const Options& options);
