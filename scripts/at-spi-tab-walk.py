#!/usr/bin/python3
"""Presses keys in the running program and prints what the accessibility bus
reports: the role and name of each object that takes the focus (with the
label that names it, if any), and each tool tip that shows.

Usage: at-spi-tab-walk.py STEPS   where STEPS is a file of lines, each either
  a key sequence for xdotool ("Tab", "ctrl+n", "alt+n"), "type TEXT",
  "say TEXT" (printed as a heading), "hover NAME" (moves the pointer over
  the first row of the list of that name), "show NAME" (prints the controls
  of that name in the active window), "dump" (prints the named objects of
  the active window), "focused" (prints the focused control of the active
  window), "statusbar" (prints the status bar's panels), or
  "# comment".
"""
import subprocess
import sys

import pyatspi
from gi.repository import GLib

STEP_MS = 700


def describe(obj):
    try:
        obj.clearCache()  # names read fresh, not from the client's cache
        role = obj.getRoleName()
        name = obj.name or ""
        labels = []
        for relation in obj.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                for i in range(relation.getNTargets()):
                    labels.append(relation.getTarget(i).name)
        extra = f"  [labelled by: {', '.join(labels)}]" if labels else ""
        desc = obj.description
        if desc:
            extra += f"  [description: {desc}]"
        states = obj.getState()
        if not states.contains(pyatspi.STATE_ENABLED):
            extra += "  [disabled]"
        if states.contains(pyatspi.STATE_SELECTED):
            extra += "  [selected]"
        if states.contains(pyatspi.STATE_CHECKED):
            extra += "  [checked]"
        return f"{role}: \"{name}\"{extra}"
    except Exception as error:  # the object went away meanwhile
        return f"(gone: {error})"


def on_focus(event):
    if event.detail1:
        print("  focus  ", describe(event.source), flush=True)


def on_descendant(event):
    print("  current", describe(event.any_data), flush=True)


def on_showing(event):
    if event.detail1 and event.source.getRole() == pyatspi.ROLE_TOOL_TIP:
        print("  tooltip", describe(event.source), flush=True)


def on_name(event):
    if event.source.getRole() == pyatspi.ROLE_HEADING:
        print("  heading", describe(event.source), flush=True)


def on_window(event):
    print("  window ", describe(event.source), flush=True)


def find(root, predicate, depth=0):
    if root is None or depth > 12:
        return None
    if predicate(root):
        return root
    for i in range(root.childCount):
        found = find(root.getChildAtIndex(i), predicate, depth + 1)
        if found:
            return found
    return None


def hover(name):
    desktop = pyatspi.Registry.getDesktop(0)
    table = find(desktop, lambda o: o.name == name and o.childCount > 0)
    if not table:
        print("  (no table named", name, ")")
        return
    box = table.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    # The first row sits below the header; the pointer comes from aside.
    x, y = box.x + 40, box.y + 32
    print(f"  pointer at {x}, {y}", flush=True)
    subprocess.run(["xdotool", "mousemove", str(x - 20), str(y)])
    subprocess.run(["xdotool", "mousemove", str(x), str(y)])


def active_window():
    desktop = pyatspi.Registry.getDesktop(0)
    for a in range(desktop.childCount):
        app = desktop.getChildAtIndex(a)
        for w in range(app.childCount if app else 0):
            window = app.getChildAtIndex(w)
            if window.getState().contains(pyatspi.STATE_ACTIVE):
                return window
    return None


def each_showing(root, depth=0):
    if root is None or depth > 12:
        return
    for i in range(root.childCount):
        child = root.getChildAtIndex(i)
        if child is None or not child.getState().contains(pyatspi.STATE_SHOWING):
            continue
        yield depth, child
        # Rows and cells of item views are not walked: the focus reports them.
        if child.getRole() not in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_LIST,
                                   pyatspi.ROLE_TREE_TABLE):
            yield from each_showing(child, depth + 1)


def show(name):
    for depth, obj in each_showing(active_window()):
        if obj.name == name:
            print("  show   ", describe(obj), flush=True)


def focused():
    for depth, obj in each_showing(active_window()):
        if obj.getState().contains(pyatspi.STATE_FOCUSED):
            print("  focused", describe(obj), flush=True)


def dump():
    for depth, obj in each_showing(active_window()):
        if obj.name or obj.description:
            print("  dump   " + "  " * depth + describe(obj), flush=True)


def status_bar():
    desktop = pyatspi.Registry.getDesktop(0)
    bar = find(desktop, lambda o: o.getRole() == pyatspi.ROLE_STATUS_BAR)
    if not bar:
        print("  (no status bar)")
        return
    for i in range(bar.childCount):
        child = bar.getChildAtIndex(i)
        if child.getState().contains(pyatspi.STATE_SHOWING):
            print("  panel  ", describe(child), flush=True)


def main():
    steps = [line.rstrip("\n") for line in open(sys.argv[1]) if line.strip()]
    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    pyatspi.Registry.registerEventListener(on_showing, "object:state-changed:showing")
    pyatspi.Registry.registerEventListener(on_window, "window:activate")
    pyatspi.Registry.registerEventListener(on_descendant, "object:active-descendant-changed")
    pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")

    def next_step():
        if not steps:
            pyatspi.Registry.stop()
            return False
        step = steps.pop(0)
        if step.startswith("#"):
            return True
        if step.startswith("say "):
            print(step[4:], flush=True)
        elif step.startswith("type "):
            subprocess.run(["xdotool", "type", "--delay", "30", step[5:]])
        elif step == "statusbar":
            status_bar()
        elif step == "dump":
            dump()
        elif step == "focused":
            focused()
        elif step.startswith("show "):
            show(step[5:])
        elif step.startswith("hover "):
            hover(step[6:])
        else:
            print("  key    ", step, flush=True)
            subprocess.run(["xdotool", "key", step])
        return True

    GLib.timeout_add(STEP_MS, next_step)
    pyatspi.Registry.start()


if __name__ == "__main__":
    main()
