#!/bin/sh
# Builds the Debian package build/chancenraster_VERSION_amd64.deb.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh
if ! dpkg-query -W -f='${Status}' dpkg-dev 2>/dev/null | grep -q "install ok installed"; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends dpkg-dev
fi
cmake --preset default
cmake --build --preset default
(cd build && cpack -G DEB)
ls build/chancenraster_*_amd64.deb
