#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package build/chancenraster_VERSION_amd64.deb and checks
# it with lintian, which must report no error and no warning.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh
missing=""
for p in dpkg-dev lintian; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
if [ -n "$missing" ]; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
fi
cmake --preset default
cmake --build --preset default
rm -f build/chancenraster_*_amd64.deb
(cd build && cpack -G DEB)
package=$(ls build/chancenraster_*_amd64.deb)
# Info lines are shown too, but only an error or a warning fails; the
# package's own overrides are honoured.
lintian --display-info --fail-on error,warning "$package"
echo "$package"
