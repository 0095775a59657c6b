#!/usr/bin/env bash
# Installs a built tree into a temporary DESTDIR and checks what a desktop
# needs: the program, its menu entry, its icons and its software-centre
# description, each passing its validator, and nothing else. With --deb it also
# makes the Debian package and checks its contents and dependencies.
#   scripts/check-install.sh [--deb] [build folder]
set -euo pipefail
deb=0
if [ "${1:-}" = "--deb" ]; then deb=1; shift; fi
build=$(realpath "${1:-build}")
app_id=com.qrxsoft.Vornik
sizes=(16 22 24 32 48 64 128 256)
fail() { echo "check-install: $*" >&2; exit 1; }

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# Width and height of a PNG file, from its header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3*256+$4, $7*256+$8 }'; }

# The files a prefix must hold, relative to it, sorted.
expected_files() {
  {
    echo bin/vornik
    echo "share/applications/$app_id.desktop"
    echo "share/metainfo/$app_id.metainfo.xml"
    echo "share/icons/hicolor/scalable/apps/$app_id.svg"
    for s in "${sizes[@]}"; do echo "share/icons/hicolor/${s}x$s/apps/$app_id.png"; done
  } | LC_ALL=C sort
}

# Checks the tree installed under root/prefix.
check_tree() {
  local root=$1 prefix=$2 dir=$1$2
  diff <(expected_files) <(cd "$dir" && find . -type f -printf '%P\n' | LC_ALL=C sort) ||
    fail "$dir holds other files than the program, its menu entry, icons and description"
  [ -x "$dir/bin/vornik" ] || fail "$dir/bin/vornik is not executable"
  for s in "${sizes[@]}"; do
    local got
    got=$(png_size "$dir/share/icons/hicolor/${s}x$s/apps/$app_id.png")
    [ "$got" = "${s}x$s" ] || fail "the ${s}x$s icon is $got"
  done
  grep -q '<svg' "$dir/share/icons/hicolor/scalable/apps/$app_id.svg" || fail "the scalable icon is no SVG"
  local desktop=$dir/share/applications/$app_id.desktop
  desktop-file-validate "$desktop" || fail "desktop-file-validate refuses $desktop"
  grep -qx "Exec=vornik" "$desktop" || fail "the menu entry does not start vornik"
  grep -qx "Icon=$app_id" "$desktop" || fail "the menu entry names another icon"
  appstreamcli validate --no-net "$dir/share/metainfo/$app_id.metainfo.xml" >/dev/null ||
    appstreamcli validate --no-net "$dir/share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli refuses the metainfo file"
}

DESTDIR="$stage/default" cmake --install "$build" >/dev/null
check_tree "$stage/default" /usr/local
# The prefix is chosen at install time too.
DESTDIR="$stage/usr" cmake --install "$build" --prefix /usr >/dev/null
check_tree "$stage/usr" /usr
echo "check-install: installed tree is complete and valid"

if [ "$deb" -eq 1 ]; then
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
  rm -f "$build"/vornik_*.deb
  (cd "$build" && cpack -G DEB >"$stage/cpack.log" 2>&1) || { cat "$stage/cpack.log" >&2; fail "cpack cannot make the package"; }
  pkg=$(ls "$build"/vornik_*.deb)
  [ "$(dpkg-deb -f "$pkg" Version)" = "$version" ] || fail "the package's version is not $version"
  depends=$(dpkg-deb -f "$pkg" Depends)
  for lib in libqt6widgets6 libqt6gui6 libqt6core6 libqt6printsupport6 libc6 libstdc++6; do
    [[ ", $depends," == *", $lib "* ]] || fail "the package does not depend on $lib: $depends"
  done
  dpkg-deb -x "$pkg" "$stage/deb"
  check_tree "$stage/deb" /usr
  # Stripping the packaged program keeps the version stamp it reads back.
  if readelf -S "$build/vornik" | grep -q '\.vornik_version'; then
    objcopy -O binary --only-section=.vornik_version "$build/vornik" "$stage/stamp-built"
    objcopy -O binary --only-section=.vornik_version "$stage/deb/usr/bin/vornik" "$stage/stamp-packaged"
    [ -s "$stage/stamp-packaged" ] && cmp -s "$stage/stamp-built" "$stage/stamp-packaged" ||
      fail "the packaged program lost its version stamp"
  fi
  echo "check-install: $(basename "$pkg") depends on: $depends"
fi
