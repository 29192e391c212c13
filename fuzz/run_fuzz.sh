#!/bin/sh
# Builds the fuzz targets with clang and runs each for a while from the project's seed corpora.
#   fuzz/run_fuzz.sh [seconds per target, default 600] [target ...]
# Findings go to build-fuzz/findings/<target>/, logs to build-fuzz/<target>.log.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${1:-600}"
[ $# -gt 0 ] && shift
targets="${*:-Load3dsFuzzer DecodeJpegFuzzer}"

if ! command -v clang++-14 >/dev/null || ! dpkg-query -W libclang-rt-14-dev >/dev/null 2>&1; then
  echo "The fuzz targets need clang 14 and its runtime: apt-get install clang-14 libclang-rt-14-dev" >&2
  exit 1
fi
CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCASTRELLE_FUZZ=ON -DCASTRELLE_BUILD_TESTS=OFF -DCASTRELLE_BUILD_BENCH=OFF -DCASTRELLE_BUILD_DATA=OFF >/dev/null
cmake --build "$build" -j2 --target castrelle_fuzz_seeds $targets

"$build/fuzz/castrelle_fuzz_seeds" "$build/seeds"
for target in $targets; do
  case $target in
    Load3dsFuzzer) seeds=3ds dict="$root/fuzz/3ds.dict" ;;
    DecodeJpegFuzzer) seeds=jpeg dict="$root/fuzz/jpeg.dict" ;;
    *) echo "unknown target $target" >&2; exit 2 ;;
  esac
  corpus="$build/corpus/$target"
  findings="$build/findings/$target"
  mkdir -p "$corpus" "$findings"
  # stderr of the target carries one "Can't load file" line per refused input: closed (2);
  # libFuzzer and the sanitizers keep their own copy of it for reports.
  ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$build/fuzz/$target" "$corpus" "$build/seeds/$seeds" -dict="$dict" -max_total_time="$seconds" \
    -close_fd_mask=2 -rss_limit_mb=2048 -timeout=10 -artifact_prefix="$findings/" -print_final_stats=1 \
    >"$build/$target.log" 2>&1 &
done
wait
for target in $targets; do
  echo "== $target"
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb|Done [0-9]+ runs|ERROR|SUMMARY" "$build/$target.log" || true
  ls "$build/findings/$target"
done
