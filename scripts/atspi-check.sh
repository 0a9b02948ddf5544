#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the built program under Xvfb with accessibility on, in a private
# D-Bus session, and prints what a screen reader finds over AT-SPI: the tree
# after start-up, after "Info" is opened (the focus must be inside), and
# after four spins (step rate 4). Needs xvfb, dbus-x11, at-spi2-core,
# python3-pyatspi and xdotool. Run from the repository's root after a build:
#
#     sh scripts/atspi-check.sh [build/bin/chancenraster]
set -eu
program=${1:-build/bin/chancenraster}
here=$(cd "$(dirname "$0")" && pwd)
py=${PYTHON:-/usr/bin/python3} # the system Python, which has pyatspi
display=:$((90 + $$ % 9))

Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$app" "$xvfb" 2>/dev/null || true; [ -n "${DBUS_SESSION_BUS_PID:-}" ] && kill "$DBUS_SESSION_BUS_PID" 2>/dev/null || true' EXIT
export DISPLAY="$display"
sleep 1
eval "$(dbus-launch --sh-syntax)"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
gsettings set org.gnome.desktop.interface toolkit-accessibility true 2>/dev/null || true
"$program" &
app=$!
win=$(xdotool search --sync --onlyvisible --name "chancenraster" | head -n 1)
xdotool windowfocus --sync "$win" || true
sleep 2

# Pixel centres of the controls (twips / 15), relative to the window.
click() { xdotool mousemove --window "$win" "$1" "$2" click 1; sleep 0.5; }
typeinto() { click "$1" "$2"; xdotool key --window "$win" ctrl+a; xdotool type --window "$win" "$3"; sleep 0.5; }

echo "== after start-up"
"$py" "$here/atspi-dump.py" --cells || true
echo "== import chooser open"
click 556 352                      # Import
"$py" "$here/atspi-dump.py" || true
click 590 433                      # Abbr.
echo "== Info open"
click 557 304                      # Info
"$py" "$here/atspi-dump.py" || true
click 557 304                      # Ende Info
echo "== after four spins at step rate 4"
typeinto 556 63 10                 # Anzahl Würfe
typeinto 556 166 4                 # Step-Rate
click 556 216                      # Start
for spin in 1 2 3 4; do click 271 410; done   # Weiter
"$py" "$here/atspi-dump.py" --cells
