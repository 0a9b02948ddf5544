#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Set up the machine, check the formatting of every C++ file, build
# everything with warnings as errors and run the whole test suite headless:
# once in the normal build, once built with AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh
sh scripts/check-format.sh
for preset in default sanitize; do
    cmake --preset "$preset"
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done
