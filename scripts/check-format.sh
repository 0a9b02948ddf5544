#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails, naming the files, when clang-format 14 with the repository's
# .clang-format would change any C++ file of the project.
set -eu
cd "$(dirname "$0")/.."
format=""
for candidate in clang-format-14 clang-format; do
    if command -v "$candidate" > /dev/null 2>&1 &&
        "$candidate" --version | grep -q "version 14\."; then
        format=$candidate
        break
    fi
done
if [ -z "$format" ]; then
    echo "check-format: clang-format 14 is missing (sh scripts/setup.sh installs it)" >&2
    exit 1
fi
files=$(find src tools tests bench fuzz -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
bad=""
for file in $files; do
    if ! "$format" --style=file --dry-run --Werror "$file" > /dev/null 2>&1; then
        bad="$bad $file"
    fi
done
if [ -n "$bad" ]; then
    echo "check-format: clang-format would change these files (clang-format -i FILE fixes them):" >&2
    for file in $bad; do
        echo "  $file" >&2
    done
    exit 1
fi
echo "check-format: $(echo "$files" | wc -l) files formatted"
