#!/usr/bin/env bash
# Sets up a Debian 12 machine for Castrelle Quillmere, builds it (data included) and either plays
# the demo or runs every test.
#
#   ./build.sh play [castrelle options]   install what is missing, build, play
#   ./build.sh test                        install what is missing, build, run all tests
#   ./build.sh sanitize                    the tests and a coarse run of the whole show under
#                                          AddressSanitizer and UndefinedBehaviorSanitizer
#   ./build.sh web                         the show for web browsers, into build-web/
#   ./build.sh web-serve                   that, served on http://127.0.0.1:8000/ (WEB_PORT=...)
#   ./build.sh web-test                    that, tested in headless Chromium against the native frames
#   ./build.sh package                     the Debian package, the portable archive and the web
#                                          page's archive, into build/packages/
#   ./build.sh package-test                that, and the packages checked (contents, an unpacked
#                                          copy run, lintian and the desktop files' validators)
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  g++ cmake ninja-build pkg-config
  libsdl2-dev libmpg123-dev libpng-dev libmp3lame-dev libjpeg62-turbo-dev libfreetype-dev fonts-dejavu-core
  libgl1-mesa-dev libglu1-mesa-dev libegl-dev libegl-mesa0 libgl1-mesa-dri libgles-dev
  googletest libgtest-dev libbenchmark-dev lib3ds-dev libassimp-dev libstb-dev
  xvfb xauth ffmpeg sox aubio-tools python3 khronos-api
)
# Only the web build needs these; the README's two commands do without them.
WEB_PACKAGES=(emscripten chromium)
# Making the packages (dpkg-shlibdeps, dpkg-gencontrol), then checking them.
PACKAGE_PACKAGES=(dpkg-dev)
PACKAGE_CHECK_PACKAGES=(lintian desktop-file-utils appstream man-db groff-base)
BUILD_DIR=${BUILD_DIR:-build}
WEB_DIR=${WEB_DIR:-build-web}

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD_DIR"
}

# A second build in its own folder with the sanitizers on. It reads the data the release build
# generated; the tests run under it (the seek storm at full length), then the whole show at a
# coarse step. Any report fails the run. The asset generators' consistency tests are left to the
# release suite: they rebuild every model several times and would double the run's length.
sanitize() {
  local dir=${SANITIZE_DIR:-build-sanitize} flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
  # -O1 with line tables only: the reports keep their file and line, and the build takes less than
  # half as long as at -O2 with full debug information, which is most of the run's time in CI.
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DCASTRELLE_BUILD_DATA=OFF -DCASTRELLE_BUILD_BENCH=OFF -DCASTRELLE_DATA_DIR="$PWD/$BUILD_DIR/data" >/dev/null
  cmake --build "$dir"
  # Dynamic TLS is not followed: the sanitizer runtime's record of the GL libraries' thread-local
  # blocks goes stale when the driver loads its ES dispatch, and its leak scan then crashes at exit.
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:exitcode=23:intercept_tls_get_addr=0
  export LSAN_OPTIONS="suppressions=$PWD/tools/sanitize/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  CASTRELLE_SEEK_STORM_JUMPS=10000 ctest --test-dir "$dir" --output-on-failure -j2 \
    -E '^(ModelFiles|ModelShapes|ModelBudget|ModelCave|ModelCaveGreetings|TextureSet|MeshDecimation)\.'
  echo "The whole show at 10 frames a second under the sanitizers:"
  env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
    "$dir/castrelle" --capture null --fps 10 --size 256x192 --data "$PWD/$BUILD_DIR/data"
}

# The browser build: the data comes from our own generators in the native build; Emscripten
# compiles the rest. Its link step runs Debian's node modules (acorn), whatever node is first
# on the PATH.
web() {
  install_missing "${WEB_PACKAGES[@]}"
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD_DIR" --target castrelle_data
  local data
  data=$(sed -n 's/^CASTRELLE_DATA_DIR:PATH=//p' "$BUILD_DIR/CMakeCache.txt")
  export NODE_PATH=/usr/share/nodejs
  emcmake cmake -S . -B "$WEB_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCASTRELLE_DATA_DIR="$data" >/dev/null
  cmake --build "$WEB_DIR"
  echo "The page is $WEB_DIR/index.html (serve the folder: ./build.sh web-serve)"
}

# The packages of the release build, and the web page's; the icons and the manual page come
# with the build.
package() {
  install_missing "${PACKAGE_PACKAGES[@]}" "$@"
  build
  web
  packaging/make-packages.sh "$BUILD_DIR" "$WEB_DIR"
}

case "${1:-}" in
  play)
    shift
    install_missing
    build
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      # No screen to play on: render the whole show, frame-exact, to a video instead.
      out="$PWD/castrelle-quillmere.mp4"
      echo "No display found: capturing the show to $out instead (Ctrl-C stops early and keeps a playable file)."
      "$BUILD_DIR/castrelle" --capture "$out" "$@"
      echo "The demo is in $out"
      exit 0
    fi
    exec "$BUILD_DIR/castrelle" "$@"
    ;;
  test)
    install_missing
    build
    ctest --test-dir "$BUILD_DIR" --output-on-failure -j2
    ;;
  sanitize)
    install_missing
    build
    sanitize
    ;;
  web)
    web
    ;;
  web-serve)
    web
    port=${WEB_PORT:-8000}
    echo "Serving the show on http://127.0.0.1:$port/ (Ctrl-C stops)"
    exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$WEB_DIR"
    ;;
  web-test)
    web
    # The native shader renderer's frames are the reference the page's are held to.
    cmake --build "$BUILD_DIR" --target castrelle
    python3 tests/web/web_test.py --web "$WEB_DIR" --native "$BUILD_DIR/castrelle" \
      --data "$(sed -n 's/^CASTRELLE_DATA_DIR:PATH=//p' "$BUILD_DIR/CMakeCache.txt")"
    ;;
  package)
    package
    ;;
  package-test)
    package "${PACKAGE_CHECK_PACKAGES[@]}"
    packaging/check-packages.sh "$BUILD_DIR"
    ;;
  *)
    echo "Usage: $0 play [castrelle options] | $0 test | $0 sanitize | $0 web | $0 web-serve | $0 web-test" \
      "| $0 package | $0 package-test" >&2
    exit 2
    ;;
esac
