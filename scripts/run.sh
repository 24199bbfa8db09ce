#!/usr/bin/env bash
# Installs what is missing, builds and runs the simulator (gas-separator). Arguments go to the
# program. Without a display it runs a short demonstration and prints its screenshots' paths.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} >/dev/null
cmake --build "$build" -j"${JOBS:-2}" --target gas-separator
exec "$build/bin/gas-separator" "$@"
