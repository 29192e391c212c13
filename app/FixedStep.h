#pragma once
// The frame times of a fixed-step rendering (captures, shots, the page's test mode).

#include <cstdint>

// Demo time of frame n at fpsNum/fpsDen frames per second, from fromMs: exact integer arithmetic,
// so the same frame always gets the same time.
int fixedStepTime(int64_t n, int fpsNum, int fpsDen, int fromMs);

// Number of frames whose time lies in [fromMs, toMs).
int64_t fixedStepFrameCount(int fpsNum, int fpsDen, int fromMs, int toMs);
