#!/usr/bin/env bash
# Builds the Debian package from the normal build (build/, or BUILD_DIR): writes
# BUILD_DIR/gas-separator_<version>_<arch>.deb and prints its path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
export BUILD_DIR=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
cd "$BUILD_DIR"
rm -f gas-separator_*.deb
cpack -G DEB >/dev/null
deb=$(echo "$BUILD_DIR"/gas-separator_*.deb)
[[ -f "$deb" ]] || { echo "package.sh: cpack wrote no package" >&2; exit 1; }
echo "$deb"
