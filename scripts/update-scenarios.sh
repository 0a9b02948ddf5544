#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Rewrites the dump of every scenario (or of the ones named) from the current
# build, in the stored form of scripts/format-dump.py (one JSON array, one
# control or grid row per line). Review every changed dump by hand before
# committing it.
set -eu
cd "$(dirname "$0")/.."
runner=./build/bin/chancenraster-scenario
if [ "$#" -eq 0 ]; then
    set -- tests/scenarios/*.scn
fi
for script in "$@"; do
    expected="${script%.scn}.expected"
    dir=$(cd tests/scenarios && pwd)
    raw=$(mktemp)
    journals=$(mktemp -d) # a fresh folder for live journals, as the tests give each
    if ! (cd tests/scenarios && XDG_DATA_HOME="$journals" QT_QPA_PLATFORM=offscreen \
        "../../$runner" "$(basename "$script")") > "$raw"; then
        echo "$script: the runner failed; $expected left as it was" >&2
        rm -f "$raw"
        exit 1
    fi
    sed -e "s|$dir|@SCENARIOS@|g" -e "s|$journals|@JOURNALS@|g" \
        -e 's|"drive":"[^"]*"|"drive":"@DRIVE@"|g' "$raw" \
        | python3 scripts/format-dump.py > "$expected"
    rm -rf "$raw" "$journals"
    echo "wrote $expected"
done
