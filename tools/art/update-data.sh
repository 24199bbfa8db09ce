#!/usr/bin/env bash
# Regenerates the committed media: pictures, icons and the information document into data/,
# the debug sheets into docs/art/. Fonts are rebuilt separately by tools/fonts/make-fonts.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/tools/art/generate.sh" "$work"
mkdir -p "$root/docs/art"
cp "$work"/debug/*.png "$root/docs/art/"
rm -rf "$work/debug"
cp -r "$work"/. "$root/data/"
