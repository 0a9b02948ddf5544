#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the licence line at the head of every source file that lacks it:
#   // SPDX-License-Identifier: GPL-3.0-or-later   (C++)
#   # SPDX-License-Identifier: GPL-3.0-or-later    (CMake, shell, Python)
# below a "#!" line where there is one. Safe to run again: a file that has the
# line keeps it as it is.
#
#   sh scripts/add-spdx.sh [DIR]           add the line (DIR: the repository)
#   sh scripts/add-spdx.sh --check [DIR]   only name the files without it;
#                                          exit status 1 when there are any
set -eu

check=false
if [ "${1:-}" = "--check" ]; then
    check=true
    shift
fi
root=${1:-"$(dirname "$0")/.."}
cd "$root"

licence="SPDX-License-Identifier: GPL-3.0-or-later"

# The comment that starts a line in FILE's language, or nothing for a file
# that is no source file (data, documents, images).
comment_of() {
    case "${1##*/}" in
    *.cpp | *.h | *.h.in) echo "//" ;;
    CMakeLists.txt | *.cmake | *.sh | *.py) echo "#" ;;
    *.*) ;;
    *)
        # Scripts without a suffix, known by their first line.
        if head -n 1 "$1" | grep -q '^#!.*\(sh\|python\)'; then
            echo "#"
        fi
        ;;
    esac
}

missing=0
files=$(mktemp)
trap 'rm -f "$files"' EXIT
# Generated, recorded and test data stay as they are, and so does the CI's hook.
find . \( -path ./.git -o -path ./.ci -o -path './build*' -o -path ./fuzz/corpus -o -path ./tests/scenarios \
    -o -path ./docs \) -prune -o -type f -print | sort > "$files"
while IFS= read -r file; do
    file=${file#./}
    comment=$(comment_of "$file")
    [ -n "$comment" ] || continue
    if head -n 3 "$file" | grep -q "^$comment $licence\$"; then
        continue
    fi
    if $check; then
        echo "no licence line: $file"
        missing=1
        continue
    fi
    temp=$(mktemp)
    if head -n 1 "$file" | grep -q '^#!'; then
        { head -n 1 "$file"; echo "$comment $licence"; tail -n +2 "$file"; } > "$temp"
    else
        { echo "$comment $licence"; cat "$file"; } > "$temp"
    fi
    # Written back through the file itself, so its mode stays.
    cat "$temp" > "$file"
    rm -f "$temp"
    echo "added: $file"
done < "$files"
exit $missing
