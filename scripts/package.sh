#!/usr/bin/env bash
# Builds the Debian package from the normal build (build/, or BUILD_DIR):
#   scripts/package.sh          writes BUILD_DIR/gas-separator_<version>_<arch>.deb
#   scripts/package.sh --check  also extracts it into a temporary root, shows its control
#                               data and runs scripts/check-install.sh on the extracted files
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
[[ "${1:-}" == "--check" ]] || exit 0

dpkg-deb --info "$deb"
extracted=$(mktemp -d)
trap 'rm -rf "$extracted"' EXIT
dpkg-deb --extract "$deb" "$extracted"
"$root/scripts/check-install.sh" "$extracted/usr" "$(dpkg-deb --field "$deb" Version)"
