#!/usr/bin/env bash
# Rebuilds data/fonts/Exo-{Regular,Bold,Italic}.ttf and OFL.txt from the npm package
# @fontsource/exo (WOFF 1.0, latin subset: the latin-ext subset of that package holds only the
# extension range, not ASCII). Usage: tools/fonts/make-fonts.sh [OUTDIR] (default data/fonts).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$root/data/fonts}
version=${EXO_PACKAGE_VERSION:-5.3.0}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "@fontsource/exo@$version" >/dev/null && tar xzf ./*.tgz)
files="$work/package/files"
mkdir -p "$out"
python3 "$root/tools/fonts/woff2ttf.py" "$files/exo-latin-400-normal.woff" "$out/Exo-Regular.ttf" Regular
python3 "$root/tools/fonts/woff2ttf.py" "$files/exo-latin-700-normal.woff" "$out/Exo-Bold.ttf" Bold
python3 "$root/tools/fonts/woff2ttf.py" "$files/exo-latin-400-italic.woff" "$out/Exo-Italic.ttf" Italic
cp "$work/package/LICENSE" "$out/OFL.txt"
