#!/bin/sh
# Walks the program's windows with the keyboard under a virtual X server and a
# private accessibility bus, printing the role and name of each control that
# takes the focus (see scripts/at-spi-tab-walk.py).
# Usage: scripts/at-spi-tab-walk.sh [build folder]   (default: build)
#        WALK_STEPS=file scripts/at-spi-tab-walk.sh   walks the steps of that file
# Needs xvfb, dbus, at-spi2-core, python3-pyatspi, xdotool and openbox.
set -e
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)

if [ "$2" != "--inside" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" \
    dbus-run-session -- sh "$here/at-spi-tab-walk.sh" "$build" --inside
fi

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"  # the user's own settings stay untouched
export QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
/usr/libexec/at-spi-bus-launcher --launch-immediately &
openbox >/dev/null 2>&1 &
sleep 2

tabs() { i=0; while [ $i -lt "$1" ]; do echo Tab; i=$((i + 1)); done; }

{
  echo "say == Main window, Create (Ctrl+N): the list properties dialog"
  echo ctrl+n; tabs 5; echo Return
  echo "say == New record (Insert), twice"
  echo Insert; echo "type Alice"; echo Tab; echo "type 555"; echo Return
  echo Insert; tabs 5; echo "type Bob"; echo Tab; echo "type 777"; echo Return
  echo "say == Main window"
  tabs 2; echo Up; echo statusbar
  echo "say == Context menu (Menu key), Sort by, Phone"
  echo Menu; echo b; echo Down; echo Return
  echo "say == Change category (Ctrl+M)"
  echo ctrl+m; tabs 3; echo Escape
  echo "say == Categories (Ctrl+T), New category (Alt+N)"
  echo ctrl+t; tabs 5; echo alt+n; echo "type Work"; tabs 3; echo Escape; echo Escape
  echo "say == Search (Ctrl+F)"
  echo ctrl+f; tabs 6; echo Escape
  echo "say == About (F1)"
  echo F1; tabs 1; echo Return
  echo "say == Pointer on the first record"
  echo "hover Records"; echo "say (waiting)"; echo "say (waiting for the hint)"; echo "say ."
} >"$work/main.steps"
# WALK_STEPS=file walks those steps through the main window instead.
if [ -n "$WALK_STEPS" ]; then cp "$WALK_STEPS" "$work/main.steps"; fi

"$build/vornik" &
program=$!
sleep 3
/usr/bin/python3 "$here/at-spi-tab-walk.py" "$work/main.steps"
kill $program 2>/dev/null || true

if [ -z "$WALK_STEPS" ] && [ -x "$build/export_wizard_preview" ]; then
  {
    echo "say == Export wizard, page by page (Alt+N: Next)"
    tabs 3
    for page in 2 3 4 5 6; do echo alt+n; tabs 2; done
    echo Return
  } >"$work/export.steps"
  "$build/export_wizard_preview" &
  sleep 3
  /usr/bin/python3 "$here/at-spi-tab-walk.py" "$work/export.steps"
fi
