#!/usr/bin/env bash
# Installs what is missing, builds and runs every test suite.
#   scripts/test.sh             normal build in build/
#   scripts/test.sh --sanitize  AddressSanitizer + UBSan build in build-asan/
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen
if [[ "${1:-}" == "--sanitize" ]]; then
  export BUILD_DIR=${BUILD_DIR:-$root/build-asan} BUILD_TYPE=Debug
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1
  "$root/scripts/build.sh" -DGS_SANITIZE=ON
else
  export BUILD_DIR=${BUILD_DIR:-$root/build}
  "$root/scripts/build.sh"
fi
cd "$BUILD_DIR"
ctest --output-on-failure -j"${JOBS:-2}"
