#!/usr/bin/env bash
# Verifies that the generator reproduces the committed media byte for byte.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/tools/art/generate.sh" "$work" >/dev/null
status=0
for f in $(cd "$work" && find . -type f ! -path './debug/*' | sort); do
  cmp -s "$work/$f" "$root/data/$f" || { echo "differs: data/${f#./}"; status=1; }
done
for f in $(cd "$work/debug" && ls); do
  cmp -s "$work/debug/$f" "$root/docs/art/$f" || { echo "differs: docs/art/$f"; status=1; }
done
[[ $status -eq 0 ]] && echo "all generated files match the committed ones"
exit $status
