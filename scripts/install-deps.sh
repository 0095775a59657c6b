#!/usr/bin/env bash
# Installs with apt-get, when missing, what a purpose needs:
#   scripts/install-deps.sh run    building and running the program (./run.sh)
#   scripts/install-deps.sh test   that and every test, check and cross-build (./test.sh)
#   scripts/install-deps.sh a11y   the screen reader walk (scripts/at-spi-tab-walk.sh)
set -euo pipefail
purpose=${1:-test}

# Building and running: the compiler, CMake, Qt (with SVG for the icons the
# build renders) and a font.
run_pkgs=(g++ binutils cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev libgl-dev
          fonts-dejavu-core)
# Testing: GoogleTest, Google Benchmark, the tools the tests read outputs with
# (pdftotext, unrtf, python3 and xmllint), the virtual X server, the formatter
# and the fuzzer's clang, the installation and package checks (the validators,
# the MIME association, CPack's file and dpkg-shlibdeps, lintian), and the
# core's Windows build with Wine.
test_pkgs=(git libgtest-dev libgmock-dev libbenchmark-dev ccache clang libclang-rt-14-dev clang-format
           xvfb xauth poppler-utils unrtf python3 libxml2-utils
           desktop-file-utils appstream shared-mime-info xdg-utils libglib2.0-bin file dpkg-dev lintian
           g++-mingw-w64-x86-64-posix googletest wine64)
# The screen reader walk: a virtual X server with a window manager, a private
# session bus with the accessibility bus, its Python client and key presses.
a11y_pkgs=(xvfb xauth openbox dbus at-spi2-core python3-pyatspi xdotool)

case "$purpose" in
  run) pkgs=("${run_pkgs[@]}") ;;
  test) pkgs=("${run_pkgs[@]}" "${test_pkgs[@]}") ;;
  a11y) pkgs=("${a11y_pkgs[@]}") ;;
  *) echo "usage: $0 run|test|a11y" >&2; exit 2 ;;
esac

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y "${missing[@]}"
fi
