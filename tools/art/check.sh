#!/usr/bin/env bash
# Verifies that the generator reproduces the committed media: the pictures (and their @2x
# siblings), icons and document in data/, the debug sheets in docs/art/ and the install icons in
# packaging/icons/hicolor/. Qt's rasteriser rounds differently from one x86-64 processor to
# another, so pictures (PNG files and the pictures inside the .ico files) must have the same size
# and format and every channel of every pixel within one level; every other file (the document,
# the SVG icon) must match byte for byte. Committed @2x pictures and install icons that the
# generator no longer writes are reported too. Last, the comparison checks itself: a picture one
# level off in one pixel passes, two levels off fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
compare=${ART_BUILD_DIR:-$root/build-art-generator}/bin/gas-separator-art-compare
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
out=$work/out
"$root/tools/art/generate.sh" "$out" >/dev/null
status=0
{
  for f in $(cd "$out" && find . -type f ! -path './debug/*' ! -path './packaging/*' | sort); do
    printf '%s\t%s\n' "$out/${f#./}" "data/${f#./}"
  done
  for f in $(cd "$out/debug" && ls); do
    printf '%s\t%s\n' "$out/debug/$f" "docs/art/$f"
  done
  for f in $(cd "$out/packaging" && find . -type f | sort); do
    printf '%s\t%s\n' "$out/packaging/${f#./}" "packaging/${f#./}"
  done
} >"$work/pairs"
(cd "$root" && "$compare" <"$work/pairs") || status=1
hicolor=packaging/icons/hicolor
for f in $(cd "$root" && { find data -name '*@2x.png'; find "$hicolor" -type f 2>/dev/null; } | sort); do
  target=${f#data/}
  [[ -e "$out/$target" ]] || { echo "not generated: $f"; status=1; }
done

# The comparison's own check, on a PNG picture and on an .ico file.
for picture in app_background.png icons/GasSeparatorIcon_1.ico; do
  for levels in 1 2; do
    changed=$work/changed-$levels.${picture##*.}
    "$compare" --perturb "$out/$picture" "$changed" "$levels"
    if printf '%s\t%s\n' "$changed" "$out/$picture" | "$compare" >/dev/null; then
      [[ $levels -le 1 ]] || { echo "self-check: $levels levels off passed: $picture"; status=1; }
    else
      [[ $levels -gt 1 ]] || { echo "self-check: $levels level off failed: $picture"; status=1; }
    fi
  done
done

[[ $status -eq 0 ]] && echo "all generated files match the committed ones"
exit $status
