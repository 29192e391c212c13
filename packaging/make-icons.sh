#!/bin/sh
# The application icon, rendered by the program itself: the frame of the title at 30 seconds,
# where a lone glowing sickle crosses the lower left, drawn at 1600 x 1200 and cut to a square
# around it, then scaled to each size. One clear shape on a dark ground still reads at 16 pixels
# where the whole frame would be a blur. If the title's look changes, check that the square still
# holds the sickle (the PNGs are in the build's packaging/icons/).
#
#   make-icons.sh CASTRELLE DATA_DIR OUT_DIR ICON_NAME SIZE...
#   writes OUT_DIR/<SIZE>x<SIZE>/apps/ICON_NAME.png
set -eu
program=$1 data=$2 out=$3 name=$4
shift 4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Headless, on Mesa's offscreen context; four frames a second are enough to bring the scene there.
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
  "$program" --data "$data" --shot 30000 --fps 4 --size 1600x1200 --frame 1024 --no-music \
  --out "$work" >/dev/null
for size in "$@"; do
  mkdir -p "$out/${size}x$size/apps"
  ffmpeg -loglevel error -y -i "$work/shot_030000.png" \
    -vf "crop=320:320:80:790,scale=$size:$size:flags=lanczos,format=rgb24" \
    "$out/${size}x$size/apps/$name.png"
done
