#!/usr/bin/env bash
# Builds the editor and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORNIK_TESTS=OFF -DVORNIK_BENCH=OFF
cmake --build build -j "$(nproc)" --target vornik
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display is available to show the editor's window."
  echo "Run it in a virtual X server:   xvfb-run -a build/vornik"
  echo "or over VNC:                    QT_QPA_PLATFORM=vnc build/vornik  (then connect to port 5900)"
  exit 1
fi
exec build/vornik "$@"
