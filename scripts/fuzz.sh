#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang and runs each for the given number
# of seconds (default 60), starting from the seed corpora in fuzz/corpus.
# New inputs go to build-fuzz/corpus, findings to build-fuzz/findings.
# Not part of the test command.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
if ! command -v clang++ >/dev/null 2>&1 || ! dpkg-query -W libclang-rt-14-dev >/dev/null 2>&1; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    $SUDO apt-get update
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
        clang libclang-rt-14-dev cmake ninja-build
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCHANCENRASTER_FUZZ=ON
cmake --build build-fuzz
for target in fuzz_numparse fuzz_permanence fuzz_inputchecks; do
    mkdir -p "build-fuzz/corpus/$target" "build-fuzz/findings/$target"
    echo "== $target for ${seconds}s"
    "build-fuzz/bin/$target" -max_total_time="$seconds" -max_len=1048576 -print_final_stats=1 \
        -artifact_prefix="build-fuzz/findings/$target/" \
        "build-fuzz/corpus/$target" "fuzz/corpus/$target" 2>&1 |
        grep -E "stat::number_of_executed_units|ERROR|SUMMARY|Done" || true
done
