#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# A live session killed with SIGKILL in the middle loses no entered spin: the
# next start offers it, and resuming restores the run exactly as it was.
#   sh live_killed.sh RUNNER WORKDIR
set -eu
runner=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
XDG_DATA_HOME="$work/data"
QT_QPA_PLATFORM=offscreen
export XDG_DATA_HOME QT_QPA_PLATFORM

mkfifo "$work/script"
"$runner" - <"$work/script" >"$work/before" 2>"$work/errors" &
pid=$!
exec 3>"$work/script"
printf 'livestart\ntype textwiederhol 4\nclick okstart\nlive 5\nlive 17\nlive 0\nundo\n' >&3
printf 'live 32\nlive 9\nclick okreset\nlive 14\ndump\n' >&3
waited=0
while [ ! -s "$work/before" ] && [ "$waited" -lt 600 ]; do
    sleep 0.1
    waited=$((waited + 1))
done
kill -9 "$pid"
wait "$pid" 2>/dev/null || true
exec 3>&-
if [ ! -s "$work/before" ]; then
    echo "the runner printed no dump before it was killed:"
    cat "$work/errors"
    exit 1
fi

printf 'answer yes\ndump\n' | "$runner" - >"$work/after" 2>>"$work/errors"

# What the run shows and holds: the grid, the state and the live numbers.
part() {
    sed -n "s/.*\(\"$1\":.*\),\"$2\".*/\1/p" "$3"
}
status=0
for keys in "grid chooser" "state live"; do
    set -- $keys
    if [ "$(part "$1" "$2" "$work/before")" != "$(part "$1" "$2" "$work/after")" ]; then
        echo "\"$1\" differs after resuming:"
        part "$1" "$2" "$work/before"
        part "$1" "$2" "$work/after"
        status=1
    fi
done
grep -q '"numbers":\[5,17,32,9,14\]' "$work/after" || {
    echo "the resumed numbers are not 5 17 32 9 14:"
    cat "$work/after"
    status=1
}
grep -q '"answer":"yes"' "$work/after" || {
    echo "no question offered the unfinished session"
    status=1
}
exit $status
