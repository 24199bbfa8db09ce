#!/usr/bin/env bash
# Checks an installed Gas Separator Simulator: check-install.sh PREFIX VERSION
# (PREFIX: the folder given to cmake --install, or usr/ of an extracted package). Checks that
# every file is there, validates the desktop entry and the AppStream metadata, checks that the
# programs print VERSION, and runs the installed tools and the program's headless
# demonstration from an empty folder, checking that they read nothing from the source tree.
set -euo pipefail
prefix=$(cd "$1" && pwd)
version=$2
root=$(cd "$(dirname "$0")/.." && pwd)
id=com.quillmore.GasSeparator
programs=(gas-separator gas-separator-calc gas-separator-driver gas-separator-tags)
fail() { echo "check-install: $*" >&2; exit 1; }

for file in "${programs[@]/#/bin/}" share/applications/$id.desktop \
    share/metainfo/$id.metainfo.xml share/mime/packages/$id.xml share/doc/gas-separator/{GasSeparatorSimulatorGuide.docx,LICENSE,OFL.txt,copyright}
do
  [[ -s "$prefix/$file" ]] || fail "$file is missing"
done
# The icons as the generator drew them, each at its place in the hicolor theme.
icons=$root/packaging/icons/hicolor
[[ -n "$(find "$icons" -name "$id.png")" ]] || fail "no icons in $icons"
(cd "$icons" && find . -type f) | while read -r icon; do
  [[ $(basename "$icon") == $id.* ]] || fail "icon $icon is not named after $id"
  cmp -s "$icons/$icon" "$prefix/share/icons/hicolor/$icon" || fail "icon $icon is missing or differs"
done

desktop="$prefix/share/applications/$id.desktop"
desktop-file-validate "$desktop"
command=$(sed -n 's/^Exec=//p' "$desktop")
program="$prefix/bin/${command%% *}"
[[ -n "$command" && -f "$program" && -x "$program" ]] ||
  fail "the menu entry starts '$command', which is not installed"
[[ $(sed -n 's/^Icon=//p' "$desktop") == "$id" ]] || fail "the menu entry's icon is not $id"
# A case file is handed to the program, and its type is the one the MIME package declares.
[[ $command == *" %f" ]] || fail "the menu entry does not pass the file it opens"
mime=$(sed -n 's/^MimeType=\(.*\);$/\1/p' "$desktop")
grep -q "<mime-type type=\"$mime\">" "$prefix/share/mime/packages/$id.xml" ||
  fail "the menu entry's type '$mime' is not declared in share/mime/packages/$id.xml"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml" ||
  fail "the metadata has no release $version"

for program in "${programs[@]}"; do
  [[ $("$prefix/bin/$program" --version) == "$program $version" ]] ||
    fail "$program --version does not print '$program $version'"
done

# Run from an empty folder, as a user without a display, every file opened traced: nothing
# may come from the source tree or the build (only from the prefix, which may lie inside).
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir -m 700 runtime
run() {
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u GAS_SEPARATOR_TAG_DIR HOME="$work" \
    TMPDIR="$work" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME= XDG_DOCUMENTS_DIR= \
    strace -f -qq -e trace=open,openat,openat2 -A -o "$work/files.txt" "$@"
}
run "$prefix/bin/gas-separator-calc" >calc.txt
grep -qE "^maximum_capacity_bbl_per_day: [0-9.]+$" calc.txt ||
  fail "gas-separator-calc does not compute the shipped design"
run "$prefix/bin/gas-separator-tags" >tags.txt
grep -qE "^[0-9]+ tags$" tags.txt || fail "gas-separator-tags does not load the built-in tags"
run "$prefix/bin/gas-separator" >demo.txt || fail "the demonstration failed: $(cat demo.txt)"
shots=$(sed -n 's/^Screenshot: //p' demo.txt)
[[ $(wc -l <<<"$shots") -eq 3 ]] || fail "the demonstration did not list 3 screenshots"
while read -r shot; do
  [[ "$(head -c 4 "$shot" | tail -c 3)" == PNG ]] || fail "$shot is not a picture"
done <<<"$shots"
if grep -F "\"$root/" files.txt | grep -vF "\"$prefix/"; then
  fail "the installed programs read the files above from the source tree"
fi
echo "check-install: $prefix is complete (version $version)"
