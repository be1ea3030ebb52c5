#!/usr/bin/env bash
# Runs every fuzz target (or the ones named) for at least RUNS inputs, one
# after another, and prints per target the inputs run and the crashes found.
# After a crash the input is kept in WORK_DIR/<name>/ and the target goes on
# from where it stopped (at most 20 crashes per target).
#   nice -n 15 tests/fuzz/long_run.sh [WORK_DIR] [RUNS] [NAME...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../.." && pwd)
work=${1:-/tmp/dorvik-fuzz-long}
runs=${2:-1000000}
shift $(( $# > 2 ? 2 : $# ))
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    for f in "$here"/*Fuzz.cpp; do
        n=$(basename "$f" .cpp)
        names+=("${n%Fuzz}")
    done
fi
mkdir -p "$work"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
printf '%-12s %12s %8s %9s\n' target inputs crashes seconds | tee "$work/summary.txt"
for name in "${names[@]}"; do
    bin=$(bash "$here/run_fuzz.sh" --build-only "$src" "$work/build" "$name") || { echo "$name: build failed"; continue; }
    out="$work/$name"
    mkdir -p "$out/corpus"
    seeds=()
    [ -d "$src/tests/fuzz/seeds/$name" ] && seeds=("$src/tests/fuzz/seeds/$name")
    done_runs=0
    crashes=0
    round=0
    start=$(date +%s)
    while [ "$done_runs" -lt "$runs" ] && [ "$crashes" -lt 20 ]; do
        round=$((round + 1))
        log="$out/round$round.log"
        "$bin" -runs=$((runs - done_runs)) -max_len=8192 -seed="$round" -timeout=30 -rss_limit_mb=2560 \
            -print_final_stats=1 -artifact_prefix="$out/" "$out/corpus" "${seeds[@]}" \
            > "$log" 2>&1
        rc=$?
        n=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
        [ -n "$n" ] || n=$(grep -o '^#[0-9]*' "$log" | tail -n 1 | tr -d '#')
        done_runs=$((done_runs + ${n:-0}))
        if [ "$rc" -ne 0 ]; then
            crashes=$((crashes + 1))
            echo "$name: crash in round $round, see $log" >&2
            [ "${n:-0}" -gt 0 ] || break  # crashes at once: the corpus itself fails
        fi
    done
    printf '%-12s %12d %8d %9d\n' "$name" "$done_runs" "$crashes" $(( $(date +%s) - start )) | tee -a "$work/summary.txt"
done
