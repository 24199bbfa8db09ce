#!/usr/bin/env bash
# Writes a batch of N varied designs for `gas-separator-calc --batch` to standard output, the
# same file for the same N and SEED on any machine (its own random numbers, not awk's):
#   tools/bench/make-batch.sh 20000 > /tmp/batch-20000.csv
#   tools/bench/make-batch.sh 2000 7 --names > /tmp/named.csv    # seed 7, with text columns
# Every value keeps its range rule; the separator sits in the casing and the dip tube in the
# separator. Production rates run from a third of the design's capacity to well above it, so
# both verdicts and both causes of failure appear. --names adds a well name and a note,
# columns the calculator carries through.
set -euo pipefail
rows=${1:?usage: make-batch.sh ROWS [SEED] [--names]}
seed=${2:-1}
names=0
[[ "${3:-}" == "--names" ]] && names=1
LC_ALL=C awk -v rows="$rows" -v seed="$seed" -v names="$names" '
function next_random() { # Park and Miller: exact in the doubles awk computes with
    state = (state * 16807) % 2147483647
    return state / 2147483647
}
function between(low, high) { return low + (high - low) * next_random() }
function tidy(x) { return sprintf("%.3f", x) + 0 }
BEGIN {
    state = seed % 2147483646 + 1
    split("4.09 4.95 6.094 6.276 7.025 8.097", casing, " ")
    header = "casing_size,separator_od,separator_id,dip_tube_od,dip_tube_id,dip_tube_length," \
             "rise_velocity,production_rate,spm"
    print (names ? "well," header ",notes" : header)
    for (i = 1; i <= rows; i++) {
        c = casing[int(between(1, 7))]
        od = tidy(c * between(0.55, 0.85)); id = tidy(od - between(0.2, 0.5))
        dtod = tidy(id * between(0.3, 0.7)); dtid = tidy(dtod - between(0.1, 0.3))
        len = tidy(between(0, 1) < 0.8 ? between(12, 96) : between(96, 480))
        rise = tidy(between(1, 10))
        capacity = rise * 0.7853981633974483 * (id * id - dtod * dtod) / 0.112
        rate = tidy(capacity * between(0.3, 1.3)); if (rate < 1) rate = 1
        spm = int(between(6, 33)) / 2
        row = c "," od "," id "," dtod "," dtid "," len "," rise "," rate "," spm
        print (names ? "W-" i "," row ",note " i : row)
    }
}'
