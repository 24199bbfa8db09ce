#!/usr/bin/env bash
# Installs what is missing, builds (warnings are errors) and runs every test suite.
#   scripts/test.sh             normal build in build/
#   scripts/test.sh --sanitize  AddressSanitizer, LeakSanitizer and UBSan build in build-asan/
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen
if [[ "${1:-}" == "--sanitize" ]]; then
  export BUILD_DIR=${BUILD_DIR:-$root/build-asan} BUILD_TYPE=Debug
  # Leaks are reported; the suppressions name only one-time allocations of libraries we use.
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
  export UBSAN_OPTIONS=print_stacktrace=1
  "$root/scripts/build.sh" -DGS_SANITIZE=ON -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
else
  export BUILD_DIR=${BUILD_DIR:-$root/build}
  "$root/scripts/build.sh" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
fi
cd "$BUILD_DIR"
ctest --output-on-failure -j"${JOBS:-2}"
