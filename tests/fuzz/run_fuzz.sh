#!/usr/bin/env bash
# Builds the score file fuzz target with clang's libFuzzer and runs it for a
# bounded number of inputs. Exit 77 (skipped) when clang++ is missing.
#   run_fuzz.sh SOURCE_DIR WORK_DIR [RUNS]
set -euo pipefail
src=$1
work=$2
runs=${3:-20000}
cxx=$(command -v clang++ || command -v clang++-14 || true)
if [ -z "$cxx" ]; then
    echo "clang++ not found: fuzz test skipped"
    exit 77
fi
mkdir -p "$work"
"$cxx" -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I"$src/src" \
    "$src/tests/fuzz/ScoreFileFuzz.cpp" "$src/src/scores/ScoreFile.cpp" -o "$work/score_file_fuzz"
rm -rf "$work/corpus"
mkdir -p "$work/corpus"
# New inputs go to the scratch corpus; the checked-in seeds stay as they are.
if ! "$work/score_file_fuzz" -runs="$runs" -max_len=4096 -seed=1 -artifact_prefix="$work/" \
        "$work/corpus" "$src/tests/fuzz/seeds" > "$work/fuzz.log" 2>&1; then
    tail -n 60 "$work/fuzz.log"
    echo "fuzz target failed; the input is in $work"
    exit 1
fi
tail -n 2 "$work/fuzz.log"
