#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Set up the machine, build the program and start it.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh
cmake --preset default
cmake --build --preset default --target chancenraster
exec ./build/bin/chancenraster
