#!/usr/bin/env bash
# Installs what is missing, builds and runs the program. Arguments go to the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
build=${BUILD_DIR:-$root/build}
exec "$build/bin/gas-separator-calc" "$@"
