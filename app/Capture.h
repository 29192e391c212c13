#pragma once
// Headless, frame-exact rendering of the show at a fixed frame rate: to a video with the
// soundtrack, to numbered PNGs, to nowhere (for timing), or as PNG shots of chosen moments.

#include "app/CommandLine.h"
#include "app/FixedStep.h"

// Runs a --capture or --shot job; returns the process exit status.
int runCapture(const Options& options);
