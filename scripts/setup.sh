#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Prepares a Debian 12 machine for building Chancenraster: installs whatever
# of the needed packages is missing. Safe to run again; uses sudo when not root.
set -eu

packages="build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools qt6-svg-dev \
libgl-dev libxkbcommon-dev libgtest-dev libgmock-dev libbenchmark-dev \
fonts-liberation fonts-dejavu-core qt6-translations-l10n clang-format appstream \
desktop-file-utils"

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -n "$missing" ]; then
    if [ "$(id -u)" -eq 0 ]; then
        SUDO=""
    else
        SUDO="sudo"
    fi
    echo "Installing:$missing"
    $SUDO apt-get update
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
fi
