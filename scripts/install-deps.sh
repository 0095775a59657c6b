#!/usr/bin/env bash
# Installs what building, running and testing need, with apt-get, when missing.
set -euo pipefail
pkgs=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
      qt6-base-dev libgl-dev clang libclang-rt-14-dev xvfb xauth poppler-utils unrtf
      fonts-dejavu-core ccache clang-format binutils
      qt6-svg-dev desktop-file-utils appstream dpkg-dev  # icons, install checks, package
      g++-mingw-w64-x86-64-posix googletest wine64)  # the core's Windows build and its tests
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
