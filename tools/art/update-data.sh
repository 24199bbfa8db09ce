#!/usr/bin/env bash
# Regenerates the committed media: pictures (with their @2x siblings), icons and the information
# document into data/, the debug sheets into docs/art/, the install icons into
# packaging/icons/hicolor/. Fonts are rebuilt separately by tools/fonts/make-fonts.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/tools/art/generate.sh" "$work"
mkdir -p "$root/docs/art"
cp "$work"/debug/*.png "$root/docs/art/"
rm -rf "$work/debug"
# The install icons stay outside data/: everything there is embedded into the program.
rm -rf "$root/packaging/icons/hicolor"
mkdir -p "$root/packaging/icons"
cp -r "$work/packaging/icons/hicolor" "$root/packaging/icons/"
rm -rf "$work/packaging"
# Every @2x picture is written again; this drops the siblings of pictures no longer drawn.
find "$root/data" -name '*@2x.png' -delete
cp -r "$work"/. "$root/data/"
