#!/usr/bin/env bash
# Builds the Debian package from build/ (after scripts/build.sh) and checks it: its control
# data and contents, and lintian, which must report no error.
set -euo pipefail
cd "$(dirname "$0")/../build"
rm -f tenarai_*.deb
cpack -G DEB >/dev/null
deb=$(ls tenarai_*_amd64.deb)
echo "built $deb"
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"
lintian --fail-on error "$deb" || { echo "lintian reports errors in $deb" >&2; exit 1; }
