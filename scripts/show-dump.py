#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints scenario dumps in a form a person can review: one block per dump,
controls that differ from the previous dump, the grid as a picture, the state.
Reads stored dumps (tests/scenarios/*.expected) and the runner's output alike."""
import json
import sys

COLOURS = {"#e0e0e0": ".", "#c00000": "R", "#0000c0": "B", "#00c000": "G"}


def show(dump, previous):
    print("=" * 72)
    print("closed:", dump["closed"], " focus:", dump["focus"])
    for name, c in dump["controls"].items():
        old = previous["controls"].get(name) if previous else None
        if c != old:
            print(f"  {name:16} text={c['text']!r} enabled={c['enabled']} visible={c['visible']}")
    grid = dump["grid"]
    print(f"  grid rows={grid['rows']}")
    for r, row in enumerate(grid["cells"][:40]):
        texts = f"{row[0][0]:>5} {row[2][0]:>3}"
        marks = "".join(COLOURS.get(cell[1], "?") for cell in row)
        print(f"   {r:3} {texts}  {marks}")
    state = {k: v for k, v in dump["state"].items() if k not in ("zahlen", "permanenz", "feldtitel")}
    print("  state:", state)
    print("  zahlen:", dump["state"]["zahlen"][:40])
    print("  feldtitel:")
    for row in dump["state"]["feldtitel"]:
        print("   ", row)
    print("  dialogs:", dump["dialogs"])
    print("  clipboard:", repr(dump["clipboard"]))


def load(stream):
    """The dumps of a stored file (one JSON array) or of the runner's output
    (one line of JSON per dump)."""
    text = stream.read()
    if text.lstrip().startswith("["):
        return json.loads(text)
    return [json.loads(line) for line in text.splitlines() if line.strip()]


def main():
    previous = None
    for path in sys.argv[1:] or ["-"]:
        stream = sys.stdin if path == "-" else open(path, encoding="utf-8")
        for dump in load(stream):
            show(dump, previous)
            previous = dump


if __name__ == "__main__":
    main()
