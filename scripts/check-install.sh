#!/usr/bin/env bash
# Installs a built tree into a temporary DESTDIR and checks what a desktop
# needs: the program and the converter with their manual pages, the menu entry
# (which opens list files), the icons, the software-centre description, the
# licence and change log, each passing its validator, and nothing else. With
# --deb it also makes the Debian package and checks its contents, its
# dependencies, its hardening and what lintian says of it.
#   scripts/check-install.sh [--deb] [build folder]
set -euo pipefail
deb=0
if [ "${1:-}" = "--deb" ]; then deb=1; shift; fi
build=$(realpath "${1:-build}")
app_id=com.qrxsoft.vornik
# The shared MIME database's type for Palm OS databases (*.pdb).
list_type=application/vnd.palm
sizes=(16 22 24 32 48 64 128 256)
fail() { echo "check-install: $*" >&2; exit 1; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# Width and height of a PNG file, from its header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3*256+$4, $7*256+$8 }'; }

# The files a prefix must hold, relative to it, sorted.
expected_files() {
  {
    echo bin/vornik
    echo bin/vornik-convert
    echo share/man/man1/vornik.1.gz
    echo share/man/man1/vornik-convert.1.gz
    echo share/doc/vornik/copyright
    echo share/doc/vornik/changelog.gz
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
    fail "$dir holds other files than the programs, their pages, menu entry, icons, description and notices"
  [ -x "$dir/bin/vornik" ] || fail "$dir/bin/vornik is not executable"
  [ -x "$dir/bin/vornik-convert" ] || fail "$dir/bin/vornik-convert is not executable"
  # The converter runs without a display.
  env -u DISPLAY -u WAYLAND_DISPLAY "$dir/bin/vornik-convert" --version | grep -q "^vornik-convert " ||
    fail "vornik-convert --version does not run"
  for page in vornik vornik-convert; do
    gzip -t "$dir/share/man/man1/$page.1.gz" || fail "the manual page of $page is no gzip file"
    local warnings
    warnings=$(gzip -dc "$dir/share/man/man1/$page.1.gz" | LC_ALL=C.UTF-8 MANWIDTH=80 groff -man -Tutf8 -ww -z 2>&1)
    [ -z "$warnings" ] || fail "the manual page of $page has mistakes: $warnings"
  done
  gzip -dc "$dir/share/doc/vornik/changelog.gz" | head -n1 | grep -q "^vornik ($version) " ||
    fail "the change log's newest entry is not version $version"
  grep -q "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
    "$dir/share/doc/vornik/copyright" || fail "the copyright file is not machine-readable"
  for s in "${sizes[@]}"; do
    local got
    got=$(png_size "$dir/share/icons/hicolor/${s}x$s/apps/$app_id.png")
    [ "$got" = "${s}x$s" ] || fail "the ${s}x$s icon is $got"
  done
  grep -q '<svg' "$dir/share/icons/hicolor/scalable/apps/$app_id.svg" || fail "the scalable icon is no SVG"
  local desktop=$dir/share/applications/$app_id.desktop
  desktop-file-validate "$desktop" || fail "desktop-file-validate refuses $desktop"
  grep -qx "Exec=vornik %f" "$desktop" || fail "the menu entry does not start vornik with a file"
  grep -qx "Icon=$app_id" "$desktop" || fail "the menu entry names another icon"
  grep -qx "MimeType=$list_type;" "$desktop" || fail "the menu entry does not open $list_type"
  grep -q ":$list_type:\*\.pdb$" /usr/share/mime/globs2 2>/dev/null ||
    fail "the shared MIME database knows no $list_type for *.pdb"
  # The association as the desktop sees it once the menu's cache is rebuilt
  # (a dpkg trigger does it on installation): no other program and no user
  # choice around.
  local home=$stage/home-$RANDOM
  mkdir -p "$home"
  update-desktop-database "$dir/share/applications"
  local chosen
  chosen=$(env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
    HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CONFIG_DIRS="$home/etc" \
    XDG_DATA_HOME="$home/.local/share" XDG_DATA_DIRS="$dir/share" xdg-mime query default "$list_type")
  [ "$chosen" = "$app_id.desktop" ] || fail "xdg-mime opens $list_type with '$chosen', not $app_id.desktop"
  # What a file manager does with a list: GIO types the file by the shared MIME
  # database (a *.pdb may come out as a subtype of the Palm type) and starts the
  # entry's program with it. A stand-in vornik on the path records what it got.
  local fake=$stage/fake-$RANDOM
  mkdir -p "$fake/bin" "$fake/share"
  ln -s /usr/share/mime "$fake/share/mime"
  printf '#!/bin/sh\nprintf "%%s\\n" "$@" > "%s/opened"\n' "$fake" > "$fake/bin/vornik"
  chmod +x "$fake/bin/vornik"
  printf 'Field 1,Field 2\nalpha,beta\n' | "$build/vornik-convert" import - -o "$fake/My list.pdb" 2>/dev/null
  env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u DBUS_SESSION_BUS_ADDRESS -u DISPLAY \
    PATH="$fake/bin:$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CONFIG_DIRS="$home/etc" \
    XDG_DATA_HOME="$home/.local/share" XDG_DATA_DIRS="$dir/share:$fake/share" gio open "$fake/My list.pdb" ||
    fail "gio cannot open a list"
  for _ in $(seq 50); do [ -s "$fake/opened" ] && break; sleep 0.1; done
  [ "$(cat "$fake/opened" 2>/dev/null)" = "$fake/My list.pdb" ] ||
    fail "gio open of a list did not start vornik with it"
  rm -f "$dir/share/applications/mimeinfo.cache"
  appstreamcli validate --pedantic --no-net "$dir/share/metainfo/$app_id.metainfo.xml" >/dev/null ||
    appstreamcli validate --pedantic --no-net "$dir/share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli refuses the metainfo file"
  local pedantic
  pedantic=$(appstreamcli validate --pedantic --no-net "$dir/share/metainfo/$app_id.metainfo.xml" | grep -E '^[EWIP]:' || true)
  [ -z "$pedantic" ] || fail "appstreamcli --pedantic remarks on the metainfo file: $pedantic"
}

DESTDIR="$stage/default" cmake --install "$build" >/dev/null
check_tree "$stage/default" /usr/local
# The prefix is chosen at install time too.
DESTDIR="$stage/usr" cmake --install "$build" --prefix /usr >/dev/null
check_tree "$stage/usr" /usr
echo "check-install: installed tree is complete and valid"

if [ "$deb" -eq 1 ]; then
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
  # Debian's hardening: fortified calls, stack protection, read-only
  # relocations bound at start; and no compiler notes.
  # (Each readelf output is taken whole: grep -q would cut the pipe short.)
  for program in vornik vornik-convert; do
    local_bin=$stage/deb/usr/bin/$program
    segments=$(readelf -lW "$local_bin")
    dynamic=$(readelf -dW "$local_bin")
    symbols=$(readelf -sW --dyn-syms "$local_bin")
    sections=$(readelf -SW "$local_bin")
    grep -q GNU_RELRO <<<"$segments" || fail "$program has no read-only relocations"
    grep -Eq 'BIND_NOW|FLAGS.*NOW' <<<"$dynamic" || fail "$program is not bound at start"
    grep -q '__stack_chk_fail' <<<"$symbols" || fail "$program has no stack protection"
    grep -Eq '__[a-z_]+_chk' <<<"$symbols" || fail "$program calls no fortified functions"
    ! grep -q '\.comment' <<<"$sections" || fail "$program carries a .comment section"
  done
  # Debian's own checker: no error and no warning, and none of the pedantic
  # hardening and section remarks. Its informational notes are shown.
  lintian --pedantic --tag-display-limit 0 "$pkg" >"$stage/lintian.log" 2>&1 || true
  if grep -Eq '^(E|W): |hardening-|binary-has-unneeded-section|^E: .*lintian' "$stage/lintian.log"; then
    cat "$stage/lintian.log" >&2
    fail "lintian finds errors or warnings in $(basename "$pkg")"
  fi
  grep -E '^[IPX]: ' "$stage/lintian.log" | sed 's/^/check-install: lintian note: /' || true
  echo "check-install: $(basename "$pkg") depends on: $depends"
fi
