#!/bin/sh
# Walks the program's windows with the keyboard under a virtual X server and a
# private accessibility bus, printing the role and name of each control that
# takes the focus (see scripts/at-spi-tab-walk.py). The program opens a small
# list that vornik-convert makes from a CSV file, and the walk goes through the
# main window, every dialog, the export wizard page by page and the hint.
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

# A small list made by the converter, opened on the command line.
printf 'Category,Name,Phone,Notes\nWork,Alice,555-1234,Team lead\nHome,Bob,777-0001,\nWork,Carol,555-9876,Desk 4\nHome,Dave,777-2222,Neighbour\n' >"$work/people.csv"
"$build/vornik-convert" import "$work/people.csv" -o "$work/people.pdb" >/dev/null

{
  echo "say == Open (Ctrl+O) the list: the list takes the focus"
  echo ctrl+o; echo "type $work/people.pdb"; echo "say (typed)"; echo Return; echo "say (opened)"; echo focused
  echo statusbar
  echo "say == Enter at once: the record's properties"
  echo Return; tabs 5; echo Escape
  echo "say == Change category (Ctrl+M) at once"
  echo ctrl+m; echo "show OK"; tabs 3; echo Escape
  echo "say == Delete at once (answered No)"
  echo Delete; echo Tab; echo Escape
  echo "say == Next category (Ctrl+2) twice, then Enter, Change category and Delete"
  echo ctrl+2; echo ctrl+2; echo statusbar; echo Return; echo Escape
  echo ctrl+m; echo "show OK"; echo Escape; echo Delete; echo Escape
  echo "say == The category filter box: Shift+Tab to it, Down, Tab back to the list"
  echo shift+Tab; echo Down; echo Tab; echo statusbar
  echo Return; echo Escape; echo ctrl+0
  echo "say == Context menu (Menu key), Sort by"
  echo Menu; echo b; echo Down; echo Down; echo Down; echo Down; echo Escape; echo Escape
  echo "say == Sort by 2 (Phone), then Fit columns to window"
  echo Menu; echo b; echo 2; echo Menu; echo b; echo f; echo Menu; echo b; echo Escape; echo Escape
  echo "say == Categories (Ctrl+T), New category (Alt+N)"
  echo ctrl+t; tabs 5; echo alt+n; echo "type Travel"; tabs 3; echo Escape; echo Escape
  echo "say == List properties (Ctrl+F10)"
  echo ctrl+F10; tabs 5; echo Escape
  echo "say == Search (Ctrl+F)"
  echo ctrl+f; tabs 6; echo Escape
  echo "say == About (F1)"
  echo F1; echo dump; echo Tab; echo Return
  echo "say == Export (Ctrl+E), page by page (Alt+N: Next)"
  echo ctrl+e; echo dump; tabs 3
  echo alt+n; echo Down; echo Tab; echo "type $work/out.csv"; tabs 2
  echo alt+n; echo Down; echo Tab; tabs 2
  echo alt+n; echo space; tabs 4
  echo alt+n; tabs 4
  echo alt+n; tabs 3; echo Escape
  echo "say == Import (Ctrl+I): the file chooser, then the import dialog"
  echo ctrl+i; echo "type $work/people.csv"; echo "say (typed)"; echo Return; echo dump; tabs 12; echo Escape
  echo "say == Pointer on the first record"
  echo "hover Records"; echo "say (waiting)"; echo "say (waiting for the hint)"; echo "say ."
} >"$work/main.steps"
# WALK_STEPS=file walks those steps through the main window instead.
if [ -n "$WALK_STEPS" ]; then cp "$WALK_STEPS" "$work/main.steps"; fi

"$build/vornik" "$work/people.pdb" &
program=$!
sleep 3
/usr/bin/python3 "$here/at-spi-tab-walk.py" "$work/main.steps"
kill $program 2>/dev/null || true
