#!/usr/bin/env bash
# Draws every shipped picture (and its @2x sibling), the two icons and the information document
# into OUTDIR, with the same relative paths as under data/, plus the debug sheets in
# OUTDIR/debug/ and the install icons in OUTDIR/packaging/icons/hicolor/.
#   tools/art/generate.sh OUTDIR
# Builds the generator in its own folder (ART_BUILD_DIR, default build-art-generator/). The
# output is reproducible: byte for byte on one processor, pictures within one level per channel
# across x86-64 processors (tools/art/check.sh compares it with the committed files).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:?usage: tools/art/generate.sh OUTDIR}
mkdir -p "$out"
out=$(cd "$out" && pwd)
build=${ART_BUILD_DIR:-$root/build-art-generator}

"$root/scripts/install-deps.sh" --with-art # pandoc, Qt SVG; does nothing when installed

cmake -S "$root/tools/art" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 >/dev/null
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)} \
  "$build/bin/gas-separator-art" "$root/tools/art/manifest.txt" "$root/data/fonts" "$out"

# The information document: Markdown to Word with pandoc, then repacked with fixed entry
# order and timestamps so that reruns give the same bytes.
mkdir -p "$out/docs"
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-1767225600}  # 2026-01-01 00:00:00 UTC
raw=$(mktemp --suffix=.docx)
trap 'rm -f "$raw"' EXIT
pandoc "$root/tools/art/guide.md" --from markdown --to docx \
  --resource-path "$root/tools/art" -o "$raw"
python3 "$root/tools/art/normalize_docx.py" "$raw" "$out/docs/GasSeparatorSimulatorGuide.docx"
echo "information document written to $out/docs/GasSeparatorSimulatorGuide.docx"
