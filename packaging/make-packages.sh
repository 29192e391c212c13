#!/usr/bin/env bash
# Makes the packages of a finished build under BUILD_DIR/packages/:
#   castrelle-quillmere_<version>_<arch>.deb            the Debian package, its dependencies found
#                                                       by dpkg-shlibdeps in the program itself
#   castrelle-quillmere-<version>-linux-<arch>.tar.gz   the install tree: unpack it anywhere and
#                                                       run bin/castrelle
#   castrelle-quillmere-web-<version>.tar.gz            the web page: the folder any static web
#                                                       server can serve (with WEB_DIR only)
# The version is the build's (packaging/Version.cmake). Files are dated by the commit, so the same
# commit makes the same archives.
#
#   packaging/make-packages.sh BUILD_DIR [WEB_DIR]
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
web=${2:+$(cd "$2" && pwd)}
name=castrelle-quillmere
version=$(cat "$build/packaging/version.txt")
arch=$(dpkg --print-architecture)
out="$build/packages"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$source_dir" log -1 --format=%ct 2>/dev/null || date +%s)}
export SOURCE_DATE_EPOCH

# archive DIR NAME FILE: DIR/NAME as a gzipped tar, owned by root, in name order, dated by the commit.
archive() {
  tar --sort=name --owner=0 --group=0 --numeric-owner --mtime="@$SOURCE_DATE_EPOCH" -C "$1" -cf - "$2" |
    gzip -9n >"$3"
}

# install_tree PREFIX [DESTDIR]: the build's install tree, stripped as Debian strips (the
# compiler's .comment and .note sections too), with the usual modes.
install_tree() {
  DESTDIR=${2:-} cmake --install "$build" --prefix "$1" --strip >/dev/null
  strip --remove-section=.comment --remove-section=.note "${2:-}$1/bin/castrelle"
  find "${2:-$1}" -type d -exec chmod 0755 {} +
}

portable() {
  install_tree "$work/$name-$version"
  archive "$work" "$name-$version" "$out/$name-$version-linux-$arch.tar.gz"
}

# The changelog Debian wants beside the copyright: one entry, for this build's commit.
changelog() {
  local maintainer commit
  maintainer=$(sed -n 's/^Maintainer: //p' "$source_dir/packaging/debian/control")
  commit=$(git -C "$source_dir" describe --always --abbrev=12 --dirty 2>/dev/null || echo "unknown")
  printf '%s (%s) unstable; urgency=medium\n\n  * Built from commit %s.\n\n -- %s  %s\n' \
    "$name" "$version" "$commit" "$maintainer" "$(date -R -u -d "@$SOURCE_DATE_EPOCH")"
}

debian() {
  local root="$work/deb" doc="$work/deb/usr/share/doc/$name"
  install_tree /usr "$root"
  # Debian keeps games in /usr/games; the program finds its data from there just the same
  # (../share/castrelle-quillmere).
  mkdir -p "$root/usr/games"
  mv "$root/usr/bin/castrelle" "$root/usr/games/castrelle"
  rmdir "$root/usr/bin"
  gzip -9n "$root/usr/share/man/man6/castrelle.6"
  mkdir -p "$work/debian" "$root/DEBIAN"
  cp "$source_dir/packaging/debian/control" "$work/debian/control"
  changelog >"$work/debian/changelog"
  gzip -9n -c "$work/debian/changelog" >"$doc/changelog.gz"
  chmod 0644 "$doc/changelog.gz"
  (
    cd "$work"
    dpkg-shlibdeps -Tdebian/substvars deb/usr/games/castrelle
    dpkg-gencontrol -p"$name" -Pdeb -fdebian/files -Vmisc:Depends=
  )
  (cd "$root" && find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum >DEBIAN/md5sums)
  chmod 0644 "$root/DEBIAN/md5sums"
  find "$root" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
  dpkg-deb --root-owner-group -Zxz --build "$root" "$out/${name}_${version}_$arch.deb" >/dev/null
}

web_page() {
  cmake --install "$web" --prefix "$work/$name-web-$version" >/dev/null
  archive "$work" "$name-web-$version" "$out/$name-web-$version.tar.gz"
}

rm -rf "$out"
mkdir -p "$out"
portable
debian
[ -z "$web" ] || web_page
ls -l "$out"
