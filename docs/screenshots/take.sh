#!/usr/bin/env bash
# Retakes the README's screenshots: each script in docs/screenshots/scripts/ runs in the
# headless driver with a fresh HOME (so the shipped defaults are used), and its `shot`s are
# written into docs/screenshots/; then the calculator draws the sweep chart. Needs a build
# (scripts/build.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
driver=${DRIVER:-$root/build/bin/gas-separator-driver}
calc=${CALC:-$root/build/bin/gas-separator-calc}
out=$root/docs/screenshots
for script in "$out"/scripts/*.txt; do
  home=$(mktemp -d)
  (cd "$out" && HOME=$home XDG_CONFIG_HOME=$home/.config XDG_STATE_HOME=$home/.state \
     LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen "$driver" "$script" >/dev/null)
  rm -rf "$home"
  echo "took $(grep -c '^shot ' "$script") screenshot(s) from ${script#$root/}"
done
work=$(mktemp -d)
(cd "$work" && "$calc" --sweep production_rate=100:300:1 \
   --plot "$out/sweep-production-rate.png" >/dev/null)
rm -rf "$work"
echo "drew docs/screenshots/sweep-production-rate.png"
