#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Turns the scenario runner's output (one line of JSON per dump) into the
form stored as tests/scenarios/*.expected: one JSON array of the dumps, with
one control, one grid row, one dialog and one state variable per line, so a
changed control or cell shows as a one-line diff.
    format-dump.py < runner-output > NAME.expected"""
import json
import sys

# Values whose members get a line each; everything else stays on one line.
EXPANDED = {
    (),
    ("*",),
    ("*", "controls"),
    ("*", "grid"),
    ("*", "grid", "cells"),
    ("*", "dialogs"),
    ("*", "state"),
    ("*", "state", "feldtitel"),
}


def compact(value):
    return json.dumps(value, ensure_ascii=False, separators=(", ", ": "))


def pattern(path):
    return tuple("*" if i == 0 else part for i, part in enumerate(path))


def write(value, path, indent, out):
    if pattern(path) not in EXPANDED or not isinstance(value, (dict, list)) or not value:
        out.append(compact(value))
        return
    inner = indent + "  "
    items = value.items() if isinstance(value, dict) else enumerate(value)
    lines = []
    for key, member in items:
        part = []
        write(member, path + (key,), inner, part)
        prefix = compact(key) + ": " if isinstance(value, dict) else ""
        lines.append(inner + prefix + "".join(part))
    brackets = "{}" if isinstance(value, dict) else "[]"
    out.append(brackets[0] + "\n" + ",\n".join(lines) + "\n" + indent + brackets[1])


def main():
    dumps = [json.loads(line) for line in sys.stdin if line.strip()]
    out = []
    write(dumps, (), "", out)
    sys.stdout.write("".join(out) + "\n")


if __name__ == "__main__":
    main()
