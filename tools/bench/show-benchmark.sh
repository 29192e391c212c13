#!/usr/bin/env bash
# Renders the whole show headless at 60 fps into a null sink and reports frames per second per
# section, scene-logic and GL milliseconds per frame, peak memory, and capture time against the
# show's 286.5 s.
#
#   tools/bench/show-benchmark.sh [build dir] [extra castrelle options, e.g. --size 800x600]
set -euo pipefail
build=${1:-build}
shift || true
exec env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen "$build/castrelle" --capture null --fps 60 --stats "$@"
