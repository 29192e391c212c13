#!/bin/sh
# Review aids for the soundtrack: a spectrogram PNG, the aubio onset list, and the measurements.
#   tools/musicgen/review.sh [SOUNDTRACK.mp3] [MUSICGEN_BINARY] [OUT_DIR]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
mp3=${1:-build/data/Music/cq.mp3}
bin=${2:-build/tools/musicgen/musicgen}
out=${3:-build/musicgen-review}
mkdir -p "$out"
wav="$out/cq.wav"
ffmpeg -v error -y -i "$mp3" -c:a pcm_s16le "$wav"
# Whole piece, and the first 45 s in detail.
sox "$wav" -n remix - spectrogram -x 2400 -y 513 -z 90 -t "cq.mp3" -o "$out/spectrogram.png"
sox "$wav" -n remix - trim 0 45 spectrogram -x 1800 -y 513 -z 90 -t "cq.mp3 0-45 s" -o "$out/spectrogram-title.png"
# The whole piece again with the section cuts drawn in, where ImageMagick is at hand.
"$bin" --cuts > "$out/cuts.txt"
if command -v convert > /dev/null; then
    sox "$wav" -n remix - spectrogram -r -x 2400 -y 480 -z 90 -o "$out/spectrogram-raw.png"
    draw=$(awk -v len="$(soxi -D "$wav")" '{ x = $1 / len * 2400; printf "line %d,0 %d,480 ", x, x }' "$out/cuts.txt")
    convert "$out/spectrogram-raw.png" -stroke white -draw "$draw" "$out/spectrogram-cuts.png"
    echo "spectrogram with the cuts: $out/spectrogram-cuts.png"
fi
aubioonset -i "$wav" > "$out/onsets.txt"
"$bin" --hits > "$out/hits.txt"
echo "spectrograms: $out/spectrogram.png $out/spectrogram-title.png"
echo "onsets: $out/onsets.txt ($(wc -l < "$out/onsets.txt") onsets), hits: $out/hits.txt"
python3 "$here/measure.py" "$mp3" "$bin" "$out/onsets.txt"
