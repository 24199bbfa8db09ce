#!/usr/bin/env bash
# Measures this tree's frame cost side by side with an older commit (by default the first
# release, 6cf88be) on the same machine in the same run, and prints both and the ratios.
#
#   tools/bench/compare.sh [OLD_REF]
#
# The old commit is exported with `git archive` into $WORK (default /tmp/gs-bench-compare)
# and only its benchmark is built there, in its own build folder. This tree's benchmark is
# taken from $NEW_BENCH (default build/bin/gas-separator-bench; build it first). The two
# run alternately, $ROUNDS times each (default 3), each for $PASSES passes (default 3600),
# and the median round of each is reported. The real-time figures (cpu_percent animating
# and minimised) are measured the same way, alternately, $REALTIME_ROUNDS times each
# (default 3) for $REALTIME_SECONDS (default 10), for every benchmark that has the
# --realtime option (an old one without it reports n/a); besides the medians, the means
# and in how many rounds the new one used less. With xvfb-run installed, the real window on
# a virtual display of $SCREEN (default 1366x768x24, a laptop's) is measured the same way, at
# $WINDOW_SCALE (default 1; say 1.5 with SCREEN=2560x1440x24 for a laptop at 150 %).
# On a machine shared with other work single runs vary by 10 to 20 %: only alternating
# rounds tell a few per cent apart.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
old_ref=${1:-6cf88be}
work=${WORK:-/tmp/gs-bench-compare}
new_bench=${NEW_BENCH:-$root/build/bin/gas-separator-bench}
rounds=${ROUNDS:-3}
passes=${PASSES:-3600}
realtime=${REALTIME_SECONDS:-10}
realtime_rounds=${REALTIME_ROUNDS:-3}
screen=${SCREEN:-1366x768x24} # the real window's display, under xvfb-run when it is installed
window_scale=${WINDOW_SCALE:-1}

[ -x "$new_bench" ] || { echo "no benchmark at $new_bench: build first" >&2; exit 1; }

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
echo "building the benchmark of $old_sha in $build ..." >&2
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGS_BUILD_TESTS=OFF \
  "${launcher[@]}" >/dev/null
cmake --build "$build" -j"${JOBS:-2}" --target gas-separator-bench >/dev/null
old_bench=$build/bin/gas-separator-bench

export QT_QPA_PLATFORM=offscreen LANG=C.UTF-8
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_STATE_HOME=$home/.state
export XDG_RUNTIME_DIR=$home/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

# One figure from a benchmark's YAML output.
figure() { awk -v key="$1:" '$1 == key { print $2 }'; }

# The median of the numbers on standard input.
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR ? v[int((NR + 1) / 2)] : "n/a") }'; }

declare -A runs
for ((round = 1; round <= rounds; ++round)); do
  for which in old new; do
    bench=$old_bench
    [ "$which" = new ] && bench=$new_bench
    out=$("$bench" --passes "$passes")
    for key in mean_pass_ms p99_pass_ms first_frame_ms first_frame_cpu_ms peak_rss_mb \
      live_particles; do
      runs[$which.$key]+="$(figure "$key" <<<"$out") "
    done
  done
done

# cpu_percent of the real main loop, animating and minimised; n/a without --realtime.
cpu_percent() {
  local bench=$1
  shift
  local help
  help=$("$bench" --help 2>/dev/null || true)
  if [[ "$help" == *--realtime* ]]; then
    if [ "${1:-}" = --window ]; then
      QT_SCALE_FACTOR=$window_scale xvfb-run -a -s "-screen 0 $screen" "$bench" \
        --realtime "$realtime" "$@" 2>/dev/null |
        figure cpu_percent
    else
      "$bench" --realtime "$realtime" "$@" | figure cpu_percent
    fi
  else
    echo n/a
  fi
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 > 0) printf "%.3f", a / b; else print "n/a" }'; }

echo "old_commit: $old_sha"
echo "new_tree: $(git -C "$root" rev-parse --short HEAD)"
echo "rounds: $rounds"
echo "passes: $passes"
for key in mean_pass_ms p99_pass_ms first_frame_ms first_frame_cpu_ms peak_rss_mb live_particles; do
  # An older benchmark may not print every key: its figure is then n/a, not the end of the run.
  old=$(tr ' ' '\n' <<<"${runs[old.$key]}" | { grep . || true; } | median)
  new=$(tr ' ' '\n' <<<"${runs[new.$key]}" | { grep . || true; } | median)
  echo "$key: { old: $old, new: $new, ratio: $(ratio "$new" "$old") }"
done
echo "realtime_rounds: $realtime_rounds"
echo "realtime_seconds: $realtime"
modes=(animating minimised)
command -v xvfb-run >/dev/null && modes+=(window)
for mode in "${modes[@]}"; do
  flag=()
  [ "$mode" = minimised ] && flag=(--minimised)
  [ "$mode" = window ] && flag=(--window)
  olds=() news=()
  for ((round = 1; round <= realtime_rounds; ++round)); do
    olds+=("$(cpu_percent "$old_bench" "${flag[@]}")")
    news+=("$(cpu_percent "$new_bench" "${flag[@]}")")
  done
  old=$(printf '%s\n' "${olds[@]}" | grep -v n/a | median)
  new=$(printf '%s\n' "${news[@]}" | grep -v n/a | median)
  lower=$(paste <(printf '%s\n' "${olds[@]}") <(printf '%s\n' "${news[@]}") |
    awk '$1 != "n/a" { n++; a += $1; b += $2; if ($2 < $1) w++ }
         END { if (n) printf "old_mean: %.3f, new_mean: %.3f, new_lower_in: %d of %d", a / n, b / n, w, n;
               else printf "old_mean: n/a" }')
  echo "cpu_percent_$mode: { old: $old, new: $new, ratio: $(ratio "$new" "$old"), $lower }"
done
