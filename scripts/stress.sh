#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Random actions on the real window, seed after seed, for SECONDS (default
# 600), with the runner of the sanitizer build. Each seed that breaks a rule
# or trips a sanitizer leaves its replay script and report in
# build-stress/findings/. Usage: scripts/stress.sh [SECONDS] [ACTIONS_PER_SEED]
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-600}
actions=${2:-5000}
runner=build-sanitize/bin/chancenraster-scenario
if [ ! -x "$runner" ]; then
    cmake --preset sanitize >/dev/null
    cmake --build build-sanitize -j2 --target chancenraster-scenario
fi
findings=build-stress/findings
mkdir -p "$findings"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
end=$(($(date +%s) + seconds))
seed=${STRESS_FIRST_SEED:-$(date +%s)}
runs=0
failed=0
while [ "$(date +%s)" -lt "$end" ]; do
    work=build-stress/seed-$seed
    rm -rf "$work"
    mkdir -p "$work/journals"
    echo "monkey $seed $actions" >"$work/script.scn"
    # A fresh journal folder: an unfinished live session of an earlier seed
    # would change what the window offers at its start.
    if XDG_DATA_HOME="$work/journals" "$runner" "$work/script.scn" >/dev/null 2>"$work/report.txt"; then
        rm -rf "$work"
    else
        status=$?
        failed=$((failed + 1))
        # The replay line names the action that broke a rule; a sanitizer
        # report has none, so its script replays the whole seed.
        replay=$(sed -n 's/^replay: //p' "$work/report.txt" | head -n 1)
        echo "${replay:-monkey $seed $actions}" >"$findings/seed-$seed.scn"
        grep -v 'propagateSizeHints\|does not support\|XDG_RUNTIME_DIR' "$work/report.txt" \
            >"$findings/seed-$seed.txt" || true
        echo "seed $seed: exit status $status, see $findings/seed-$seed.txt"
        rm -rf "$work"
    fi
    runs=$((runs + 1))
    seed=$((seed + 1))
done
echo "$runs seeds of $actions actions each, $failed with findings"
[ "$failed" -eq 0 ]
