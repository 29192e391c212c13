#!/usr/bin/env bash
# Renders the whole show (or a range of it) headless at 60 fps into a null sink on three paths one
# after the other -- the fixed renderer's fast path, its reference path and the shader renderer
# (on an OpenGL ES 3.0 context) -- and reports frames per second per section, scene-logic and GL
# milliseconds per frame, triangles, mesh draws and post-stack passes, peak memory and capture
# time against the show's 286.5 s; then the paths side by side.
#
#   tools/bench/show-benchmark.sh [build dir] [extra castrelle options, e.g. --from 12000 --to 20000]
#
# A range is still drawn from the show's start (its frames depend on the ones before); the figures
# cover the range only.
#
# SHOW_BENCH_PATHS="fast shader" (any of fast, reference, shader) runs those paths only.
set -euo pipefail
build=${1:-build}
shift || true
paths=${SHOW_BENCH_PATHS:-fast reference shader}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

for path in $paths; do
    flag=(--renderer fixed)
    [ "$path" = reference ] && flag=(--reference)
    [ "$path" = shader ] && flag=(--renderer shader)
    env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen \
        "$build/castrelle" --capture null --fps 60 --stats "${flag[@]}" "$@" | tee "$out/$path.txt"
done

[ -s "$out/fast.txt" ] || exit 0
touch "$out/reference.txt" "$out/shader.txt"
# The section name is the table's first twelve characters; the figures follow. A path not run
# shows as "-".
awk '
    FNR == 1 { file = FILENAME ~ /fast\.txt$/ ? 1 : FILENAME ~ /reference\.txt$/ ? 2 : 3 }
    /^section/ { table = 1; next }
    /^\(per frame/ { table = 0 }
    table && NF >= 8 {
        name = substr($0, 1, 12); sub(/ +$/, "", name)
        split(substr($0, 13), f, " ")
        if (!(name in seen)) { seen[name] = 1; order[++n] = name }
        fps[file, name] = f[2]; gl[file, name] = f[4]; passes[file, name] = f[8]
    }
    function show(v, format) { return v == "" ? sprintf("%" format "s", "-") : sprintf("%" format ".2f", v) }
    function ratio(a, b) { return (a == "" || b == "" || b == 0) ? "-" : sprintf("%.2fx", a / b) }
    END {
        printf "\nthe three paths side by side (GL ms per frame; speed-up = GL ms against the fixed fast path)\n"
        printf "%-12s %8s %8s %8s %9s %9s %9s %8s %8s %9s %9s %9s\n", "section", "ref fps", "fast fps",
               "shd fps", "ref GL", "fast GL", "shd GL", "fast/ref", "shd/fast", "ref pass", "fast pass",
               "shd pass"
        for (i = 1; i <= n; i++) {
            s = order[i]
            printf "%-12s %8s %8s %8s %9s %9s %9s %8s %8s %9s %9s %9s\n", s, show(fps[2, s], 8),
                   show(fps[1, s], 8), show(fps[3, s], 8), show(gl[2, s], 9), show(gl[1, s], 9),
                   show(gl[3, s], 9), ratio(gl[2, s], gl[1, s]), ratio(gl[1, s], gl[3, s]),
                   show(passes[2, s], 9), show(passes[1, s], 9), show(passes[3, s], 9)
        }
    }' "$out/fast.txt" "$out/reference.txt" "$out/shader.txt"
