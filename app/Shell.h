#pragma once
// Start-up, main loop and shutdown of the demo.

#include "app/CommandLine.h"

// Runs the show with the given options; returns the process exit status: 0 when the show ended
// or the user quit (or declined the windowed fallback), non-zero when start-up failed.
int runDemo(const Options& options);
