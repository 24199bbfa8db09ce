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
if [[ "${1:-}" != "--sanitize" ]]; then
  ctest --output-on-failure -j"${JOBS:-2}"
  exit
fi
# LeakSanitizer's own thread that stops the process for the leak check at exit now and then
# crashes ("Tracer caught signal 11"), after the test has passed: a fault of the checker, not a
# leak (a leak says "detected memory leaks" and never matches). Tests that failed only that way
# run once more; any other failure fails at once.
log=Testing/Temporary/SanitizedRun.log
mkdir -p "$(dirname "$log")" # a new build folder has none before CTest runs
if ctest --output-on-failure -j"${JOBS:-2}" 2>&1 | tee "$log"; then
  exit 0
fi
failed=0
failedList=Testing/Temporary/LastTestsFailed.log
[[ -f $failedList ]] && failed=$(wc -l < "$failedList")
checkerCrashes=$(grep -c "LeakSanitizer has encountered a fatal error" "$log" || true)
if (( failed == 0 || checkerCrashes != failed )); then
  exit 1
fi
echo "The leak checker itself failed in $failed test(s), not a test; running them once more."
ctest --output-on-failure --rerun-failed
