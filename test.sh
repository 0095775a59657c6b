#!/usr/bin/env bash
# Builds everything and runs every test; exits non-zero on any failure.
#   FUZZ_SECONDS=0 ./test.sh     skips the fuzzing run (default 60 seconds)
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh test
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORNIK_TESTS=ON -DVORNIK_BENCH=ON
cmake --build build -j "$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build -j "$jobs" --output-on-failure

# Installation into a temporary DESTDIR, the validators of the menu entry and
# the software-centre description, and the Debian package.
scripts/check-install.sh --deb build

# Every source file as clang-format leaves it.
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
# Each suite runs as one process (quicker than one per test under the
# sanitizers); Qt keeps some allocations until exit, so leak detection is on
# for the core and the converter only (whose tests run the sanitized converter).
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORNIK_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake --build build-asan -j "$jobs" --target tests_core tests_cli tests_platform tests_components \
  tests_dialogs tests_app
build-asan/tests_core
build-asan/tests_cli
for suite in tests_platform tests_components tests_dialogs tests_app; do
  ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 "build-asan/$suite"
done

# The core again cross-built for Windows and run under Wine, when both are
# present: no display, no input, a Wine set-up of its own inside the build folder.
wine=$(command -v wine64 || command -v wine || command -v /usr/lib/wine/wine64 || true)
if command -v x86_64-w64-mingw32-g++-posix >/dev/null && [ -n "$wine" ]; then
  cmake -S . -B build-win -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORNIK_CORE_ONLY=ON \
    -DVORNIK_BENCH=OFF -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DVORNIK_GTEST_SOURCE_DIR=/usr/src/googletest
  cmake --build build-win -j "$jobs" --target tests_core
  (
    unset DISPLAY WAYLAND_DISPLAY
    # A UTF-8 locale, or Wine cannot give files names outside ASCII.
    export WINEPREFIX="$PWD/build-win/wineprefix" WINEDEBUG=-all WINEARCH=win64 \
      WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" HOME="${HOME:-$PWD/build-win}" \
      LC_ALL=C.UTF-8
    wineserver=$(command -v wineserver || echo "$(dirname "$(readlink -f "$wine")")/wineserver")
    # One server for all the test programs rather than a cold start for each.
    # The server needs the prefix folder to exist; on a clean clone it does not.
    mkdir -p "$WINEPREFIX"
    "$wineserver" -p || true
    # The server may be gone already; that must not fail the run.
    trap '"$wineserver" -k 2>/dev/null || true; "$wineserver" -w || true' EXIT
    # Start Wine's own services here: started by a test program they would keep
    # its output open, and CTest would wait on it.
    "$wine" wineboot --init </dev/null >/dev/null 2>&1
    ctest --test-dir build-win -j "$jobs" --output-on-failure </dev/null
  )
fi

# A short fuzzing run of each file reader (the list file's, the settings
# file's) when clang is present; fuzz/seeds-<name> holds a target's own seeds.
fuzz_seconds=${FUZZ_SECONDS:-60}
if command -v clang++ >/dev/null && [ "$fuzz_seconds" -gt 0 ]; then
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORNIK_CORE_ONLY=ON \
    -DVORNIK_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
  cmake --build build-fuzz -j "$jobs"
  for f in build-fuzz/fuzz_*; do
    [ -x "$f" ] || continue
    name=$(basename "$f")
    corpus="build-fuzz/corpus-$name"
    seeds="fuzz/seeds-${name#fuzz_}"
    [ -d "$seeds" ] || seeds=fuzz/seeds
    mkdir -p "$corpus"
    "$f" "$corpus" "$seeds" -max_total_time="$fuzz_seconds" -print_final_stats=1 2>&1 | tail -n 5
  done
fi
echo "All tests passed."
