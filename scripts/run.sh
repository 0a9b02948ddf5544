#!/bin/sh
# Set up the machine, build the program and start it.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build
exec ./build/bin/chancenraster
