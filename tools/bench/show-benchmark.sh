#!/usr/bin/env bash
# Renders the whole show (or a range of it) headless at 60 fps into a null sink, first on the fast
# render path and then on the reference path, and reports frames per second per section,
# scene-logic and GL milliseconds per frame, triangles, mesh draws and post-stack passes, peak
# memory and capture time against the show's 286.5 s; then the two paths side by side.
#
#   tools/bench/show-benchmark.sh [build dir] [extra castrelle options, e.g. --from 12000 --to 20000]
#
# A range is still drawn from the show's start (its frames depend on the ones before); the figures
# cover the range only.
#
# SHOW_BENCH_PATHS=fast (or reference) runs one path only.
set -euo pipefail
build=${1:-build}
shift || true
paths=${SHOW_BENCH_PATHS:-fast reference}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

for path in $paths; do
    flag=()
    [ "$path" = reference ] && flag=(--reference)
    env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen \
        "$build/castrelle" --capture null --fps 60 --stats "${flag[@]}" "$@" | tee "$out/$path.txt"
done

[ -s "$out/fast.txt" ] && [ -s "$out/reference.txt" ] || exit 0
# The section name is the table's first twelve characters; the figures follow.
awk '
    FNR == 1 { file++ }
    /^section/ { table = 1; next }
    /^\(per frame/ { table = 0 }
    table && NF >= 8 {
        name = substr($0, 1, 12); sub(/ +$/, "", name)
        split(substr($0, 13), f, " ")
        if (file == 1) { order[++n] = name; fastFps[name] = f[2]; fastGl[name] = f[4]; fastPasses[name] = f[8] }
        else { refFps[name] = f[2]; refGl[name] = f[4]; refPasses[name] = f[8] }
    }
    END {
        printf "\nfast path against the reference path\n"
        printf "%-12s %9s %9s %10s %10s %8s %9s %9s\n", "section", "fps", "ref fps", "GL ms", "ref GL ms",
               "speed-up", "passes", "ref passes"
        for (i = 1; i <= n; i++) {
            s = order[i]
            printf "%-12s %9.1f %9.1f %10.2f %10.2f %7.2fx %9.1f %9.1f\n", s, fastFps[s], refFps[s],
                   fastGl[s], refGl[s], (fastGl[s] > 0 ? refGl[s] / fastGl[s] : 0), fastPasses[s], refPasses[s]
        }
    }' "$out/fast.txt" "$out/reference.txt"
