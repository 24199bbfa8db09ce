#!/usr/bin/env bash
# Measures this tree's calculator on batches side by side with an older commit's (by default
# c14527b, before batches were streamed and computed on every core), and checks that both
# give the same figures.
#
#   tools/bench/batch-compare.sh [OLD_REF [ROWS ...]]      # default: c14527b 20000
#
# The old commit is exported with `git archive` into $WORK (default /tmp/gs-batch-compare)
# and only its calculator is built there, once. This tree's calculator is $NEW_CALC (default
# build/bin/gas-separator-calc; build it first). For each number of rows a batch is made with
# make-batch.sh (seed $SEED, default 1), and the calculators run on it in turn, $ROUNDS times
# each (default 1): the old one, the new one with its default -j (one row per core) and the
# new one with -j 1, all under /usr/bin/time (Debian package `time`, from
# `scripts/install-deps.sh --with-bench`). Each run prints its wall time, its wall time per
# well, its CPU time and its peak memory (resident set). The old table's columns must be the
# first columns of the new one, byte for byte (the new one adds the verdict's).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
old_ref=${1:-c14527b}
shift || true
sizes=("${@:-20000}")
work=${WORK:-/tmp/gs-batch-compare}
new_calc=${NEW_CALC:-$root/build/bin/gas-separator-calc}
rounds=${ROUNDS:-1}

[ -x "$new_calc" ] || { echo "no calculator at $new_calc: build first" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time: scripts/install-deps.sh --with-bench" >&2; exit 1; }

old_sha=$(git -C "$root" rev-parse --short "$old_ref^{commit}")
src=$work/$old_sha/src
build=$work/$old_sha/build
if [ ! -f "$src/CMakeLists.txt" ]; then
  rm -rf "$src" && mkdir -p "$src"
  git -C "$root" archive "$old_sha" | tar -x -C "$src"
fi
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
echo "building the calculator of $old_sha in $build ..." >&2
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGS_BUILD_TESTS=OFF \
  "${launcher[@]}" >/dev/null
cmake --build "$build" -j"${JOBS:-2}" --target gas-separator-calc >/dev/null
old_calc=$build/bin/gas-separator-calc

echo "machine: $(nproc) cores, $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)"

# Runs a calculator on a batch of `rows` rows, writing the table to `out`, and prints
# "wall s, ms per well, CPU s, peak MB" from /usr/bin/time. Progress lines are dropped; a
# run that ends with a status other than 0 says so (every row of make-batch.sh is valid).
measure() {
  local calc=$1 batch=$2 out=$3 rows=$4
  shift 4
  /usr/bin/time -f '%e %U %S %M %x' -o "$work/time" "$calc" --batch "$batch" --out "$out" "$@" \
    2>/dev/null || true
  tail -n 1 "$work/time" | awk -v rows="$rows" '{
    printf "%8.2f s wall %7.2f ms/well %8.2f s CPU %7.1f MB peak", $1, 1000 * $1 / rows,
           $2 + $3, $4 / 1024
    if ($5 != 0) printf "   EXIT STATUS %d", $5
    printf "\n"
  }'
}

for rows in "${sizes[@]}"; do
  batch=$work/batch-$rows.csv
  "$root/tools/bench/make-batch.sh" "$rows" "${SEED:-1}" >"$batch"
  for ((round = 1; round <= rounds; ++round)); do
    echo "$rows rows, old $old_sha:   $(measure "$old_calc" "$batch" "$work/old.csv" "$rows")"
    echo "$rows rows, new:           $(measure "$new_calc" "$batch" "$work/new.csv" "$rows")"
    echo "$rows rows, new with -j 1: $(measure "$new_calc" "$batch" "$work/new-1.csv" "$rows" -j 1)"
  done
  if ! cmp -s "$work/new.csv" "$work/new-1.csv"; then
    echo "$rows rows: the new table differs with -j 1" >&2
    exit 1
  fi
  columns=$(head -1 "$work/old.csv" | tr ',' '\n' | wc -l)
  if cut -d, -f1-"$columns" "$work/new.csv" | cmp -s - "$work/old.csv"; then
    echo "$rows rows: the old table's $columns columns are the same, byte for byte"
  else
    echo "$rows rows: the tables differ" >&2
    exit 1
  fi
done
