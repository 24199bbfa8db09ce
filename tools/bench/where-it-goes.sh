#!/usr/bin/env bash
# Splits the share of a core the real main loop uses while animating into where it goes:
# samples the benchmark with perf (call stacks by DWARF) after a start-up delay, sorts every
# sample into one part by the frames of its stack (the first rule that matches, in the order
# below) and prints each part as a share of a core: its share of the samples times the
# cpu_percent of the same run. A stack perf could not unwind far is still sorted by the
# functions it has, so the rules name the innermost ones too.
#
#   tools/bench/where-it-goes.sh [BENCH] [-- BENCH_OPTIONS]
#   tools/bench/where-it-goes.sh /tmp/gs-bench-compare/c14527b/build/bin/gas-separator-bench
#   xvfb-run -a tools/bench/where-it-goes.sh build/bin/gas-separator-bench -- --window
#
# Needs perf (linux-perf). SECONDS_MEASURED (default 10) and SKIP_MS (default 2500, the
# start-up left out) change the run. perf's own sampling adds a little to cpu_percent.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
bench=${1:-$root/build/bin/gas-separator-bench}
shift || true
[ "${1:-}" = -- ] && shift
seconds=${SECONDS_MEASURED:-10}
skip=${SKIP_MS:-2500}
data=$(mktemp)
trap 'rm -f "$data"' EXIT
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

cpu=$(perf record -q -D "$skip" --call-graph dwarf,16384 -F 999 -o "$data" \
  "$bench" --realtime "$seconds" "$@" 2>/dev/null | awk '$1 == "cpu_percent:" { print $2 }')
echo "cpu_percent: $cpu"
perf script -i "$data" -F ip,sym 2>/dev/null | awk -v cpu="$cpu" '
# The parts, checked in this order against every frame of a sample.
BEGIN {
    n = split("DrawSpritesInto|BlendPicture|BlendRectAvx2|BlendRectByRows;" \
              "DrawFast|BlendRectInRuns|DrawWithPainter|BlendRowAvx2|BlendRowSse2;" \
              "CQtCanvas::CopyArea|CQtCanvas::CatchUpWithSurface;" \
              "CCanvasWidget::paintEvent|CQtMainWindow::Present|QWidgetRepaintManager;" \
              "CParticleRegionView|CLiveParticle|RemoveDeadAndUpdate|WiggleTurn|Jitter;" \
              "CAppView::Draw|CAppView::DrawScene|CQtCanvas::EndFrame|CQtCanvas::BeginFrame|" \
              "RenderText|MeasureText|DrawOutlinedText|RecentTexts|CLabelView;" \
              "CGasSeparatorSimulator|CGasSeparatorModel|EventRegistry|CWindowManager::Update;" \
              "SleepMs|clock_nanosleep|nanosleep",
              rules, ";")
    split("particles blended;pictures over and under the particles;" \
          "copying the kept background into the window;" \
          "handing the frame to the window (Qt);particles moved, born, dying and listed;" \
          "views building the frame (texts, panels, cards);" \
          "simulation, readouts and the other views;sleeping and waking;" \
          "the rest (Qt event loop, timers, kernel)", names, ";")
}
function classify(stack,   i) {
    for (i = 1; i <= n; ++i) {
        if (stack ~ rules[i]) {
            return i
        }
    }
    return n + 1
}
/^[^ \t]/ { next }
NF == 0 { if (stack != "") { part[classify(stack)]++; total++ } stack = ""; next }
# the whole symbol: "(anonymous namespace)::..." holds spaces
{ $1 = ""; stack = stack " " $0 }
END {
    if (stack != "") { part[classify(stack)]++; total++ }
    for (i = 1; i <= n + 1; ++i) {
        printf "%-48s %5.1f %% of the samples  %5.2f %% of a core\n", names[i] ":",
               100 * part[i] / total, cpu * part[i] / total
    }
}'
