#!/bin/sh
# Rewrites the dump of every scenario (or of the ones named) from the current
# build. Review every changed dump by hand before committing it.
set -eu
cd "$(dirname "$0")/.."
runner=./build/bin/chancenraster-scenario
if [ "$#" -eq 0 ]; then
    set -- tests/scenarios/*.scn
fi
for script in "$@"; do
    expected="${script%.scn}.expected"
    (cd tests/scenarios && QT_QPA_PLATFORM=offscreen "../../$runner" "$(basename "$script")") \
        > "$expected" 2>/dev/null
    echo "wrote $expected"
done
