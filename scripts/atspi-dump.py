#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints the window's accessibility tree as a screen reader sees it over
AT-SPI: role, name, description and the states that matter (showing,
focusable, focused) of every object, then a short summary.

Run it while the program runs with accessibility on, for instance through
scripts/atspi-check.sh, which starts the program under Xvfb, takes four spins
with xdotool and calls this script; by hand:

    Xvfb :99 & export DISPLAY=:99; eval "$(dbus-launch --sh-syntax)"
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 build/bin/chancenraster &
    python3 scripts/atspi-dump.py [--cells] [--summary]

Needs python3-pyatspi. --cells lists every grid cell (otherwise only the
first row); --summary prints only the summary. Exit status 1 when a control
or cell that shows has no name, or when no window was found.
"""
import sys
import time

import pyatspi

STATES = [("showing", pyatspi.STATE_SHOWING), ("focusable", pyatspi.STATE_FOCUSABLE),
          ("focused", pyatspi.STATE_FOCUSED), ("disabled", None)]


def states_of(obj):
    state = obj.getState()
    words = [word for word, bit in STATES if bit is not None and state.contains(bit)]
    if not state.contains(pyatspi.STATE_ENABLED):
        words.append("disabled")
    return words


def find_app(seconds=15):
    for _ in range(seconds * 2):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name and "chancenraster" in app.name.lower():
                return app
        time.sleep(0.5)
    return None


def labels_of(obj):
    names = []
    for relation in obj.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            for i in range(relation.getNTargets()):
                names.append(relation.getTarget(i).name)
    return names


def walk(obj, depth, out, summary, show_cells, shown=True):
    role = obj.getRoleName()
    states = states_of(obj)
    line = "%s%s \"%s\"" % ("  " * depth, role, obj.name)
    labels = labels_of(obj)
    if labels:
        line += " (labelled by %s)" % ", ".join('"%s"' % name for name in labels)
    if obj.description:
        line += " [%s]" % obj.description.strip()
    if states:
        line += " {%s}" % ", ".join(states)
    shown = shown and "showing" in states
    is_cell = role in ("table cell", "table column header")
    if is_cell:
        summary["cells"] += 1
        if not obj.name:
            summary["unnamed cells"] += 1
    if not obj.name and not labels and "showing" in states:
        summary["unnamed showing"].append(line.strip())
    if "focused" in states and shown:  # a list's current item counts as focused too
        summary["focus"].append(line.strip())
    if role != "table cell" or show_cells or obj.name.split(",")[0] == "Position 1":
        out.append(line)
    for child in obj:
        if child is not None:
            walk(child, depth + 1, out, summary, show_cells, shown)


def main():
    show_cells = "--cells" in sys.argv
    app = find_app()
    if app is None:
        print("no chancenraster application on the accessibility bus", file=sys.stderr)
        return 1
    summary = {"cells": 0, "unnamed cells": 0, "unnamed showing": [], "focus": []}
    out = []
    walk(app, 0, out, summary, show_cells)
    if "--summary" not in sys.argv:
        print("\n".join(out))
    print("-- cells and headers: %d, unnamed: %d" % (summary["cells"], summary["unnamed cells"]))
    print("-- shown without a name: %d" % len(summary["unnamed showing"]))
    for line in summary["unnamed showing"]:
        print("   " + line)
    print("-- focused (where everything around shows): %d" % len(summary["focus"]))
    for line in summary["focus"]:
        print("   " + line)
    return 1 if summary["unnamed showing"] or summary["unnamed cells"] else 0


if __name__ == "__main__":
    sys.exit(main())
