#!/usr/bin/env bash
# Verifies that the generator reproduces the committed media byte for byte: the pictures (and
# their @2x siblings), icons and document in data/, the debug sheets in docs/art/ and the
# install icons in packaging/icons/hicolor/. Committed @2x pictures and install icons that the
# generator no longer writes are reported too.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/tools/art/generate.sh" "$work" >/dev/null
status=0
for f in $(cd "$work" && find . -type f ! -path './debug/*' ! -path './packaging/*' | sort); do
  cmp -s "$work/$f" "$root/data/$f" || { echo "differs: data/${f#./}"; status=1; }
done
for f in $(cd "$work/debug" && ls); do
  cmp -s "$work/debug/$f" "$root/docs/art/$f" || { echo "differs: docs/art/$f"; status=1; }
done
for f in $(cd "$work/packaging" && find . -type f | sort); do
  cmp -s "$work/packaging/$f" "$root/packaging/$f" || { echo "differs: packaging/${f#./}"; status=1; }
done
hicolor=packaging/icons/hicolor
for f in $(cd "$root" && { find data -name '*@2x.png'; find "$hicolor" -type f 2>/dev/null; } | sort); do
  target=${f#data/}
  [[ -e "$work/$target" ]] || { echo "not generated: $f"; status=1; }
done
[[ $status -eq 0 ]] && echo "all generated files match the committed ones"
exit $status
