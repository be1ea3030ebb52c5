#!/usr/bin/env bash
# Builds one libFuzzer target with clang (address and undefined-behaviour
# sanitizers) and runs it for a bounded number of inputs from its seeds.
#   run_fuzz.sh SOURCE_DIR WORK_DIR NAME [RUNS]
#   run_fuzz.sh --build-only SOURCE_DIR WORK_DIR NAME   (prints the binary)
# NAME is the target: tests/fuzz/<NAME>Fuzz.cpp with seeds in
# tests/fuzz/seeds/<NAME>/. The target's header names what it links:
#   // fuzz-sources: src/scores/ScoreFile.cpp src/shell/Basic.cpp
#   // fuzz-libs: sdl2 SDL2_image          (pkg-config names, optional)
#   // fuzz-runs: 3000                     (inputs for the short run, optional)
# Exit 77 (skipped) when clang++ is missing.
set -euo pipefail
build_only=0
if [ "${1:-}" = "--build-only" ]; then
    build_only=1
    shift
fi
src=$(cd "$1" && pwd)
work=$2
name=$3
target="$src/tests/fuzz/${name}Fuzz.cpp"
[ -f "$target" ] || { echo "no fuzz target $target" >&2; exit 2; }

cxx=$(command -v clang++ || command -v clang++-14 || true)
if [ -z "$cxx" ]; then
    echo "clang++ not found: fuzz test skipped"
    exit 77
fi

header() { sed -n "s|^// $1:||p" "$target" | tr '\n' ' '; }
sources=$(header fuzz-sources)
libs=$(header fuzz-libs)
runs=${4:-$(header fuzz-runs)}
runs=${runs// /}
runs=${runs:-5000}

flags=(-std=c++20 -g -O1 -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -I"$src/src")
libflags=()
if [ -n "${libs// /}" ]; then
    read -r -a cf <<< "$(pkg-config --cflags $libs)"
    read -r -a libflags <<< "$(pkg-config --libs $libs)"
    flags+=("${cf[@]}")
fi

# Game sources are compiled once per work folder and shared between targets;
# an object is rebuilt when its source or any header under src/ is newer.
mkdir -p "$work/obj" "$work/bin"
newest_header=$(find "$src/src" -name '*.h' -newer "$work/obj/.stamp" 2>/dev/null | head -n 1 || true)
[ -f "$work/obj/.stamp" ] || newest_header=all
objects=()
for s in $target $sources; do
    case $s in /*) path=$s ;; *) path="$src/$s" ;; esac
    obj="$work/obj/$(echo "${path#"$src"/}" | tr '/' '_').o"
    if [ ! -f "$obj" ] || [ "$path" -nt "$obj" ] || [ -n "$newest_header" ]; then
        "$cxx" "${flags[@]}" -c "$path" -o "$obj.$$"
        mv -f "$obj.$$" "$obj"
    fi
    objects+=("$obj")
done
touch "$work/obj/.stamp"
bin="$work/bin/${name}_fuzz"
"$cxx" -fsanitize=fuzzer,address,undefined "${objects[@]}" "${libflags[@]}" -o "$bin.$$"
mv -f "$bin.$$" "$bin"
if [ "$build_only" = 1 ]; then
    echo "$bin"
    exit 0
fi

# New inputs go to a scratch corpus; the checked-in seeds stay as they are.
out="$work/$name"
rm -rf "$out"
mkdir -p "$out/corpus"
seeds=()
[ -d "$src/tests/fuzz/seeds/$name" ] && seeds=("$src/tests/fuzz/seeds/$name")
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
if ! "$bin" -runs="$runs" -max_len=8192 -seed=1 -timeout=30 -rss_limit_mb=2560 -artifact_prefix="$out/" \
        "$out/corpus" "${seeds[@]}" > "$out/fuzz.log" 2>&1; then
    tail -n 60 "$out/fuzz.log"
    echo "fuzz target $name failed; the input is in $out"
    exit 1
fi
tail -n 2 "$out/fuzz.log"
