#!/usr/bin/env bash
# The long soak: 30 minutes of game time, back-to-back games, under the
# address and undefined-behaviour sanitizers (the build-asan tree), at low
# priority. Prints the games played and the memory after the first and the
# last game; fails on any sanitizer report or more than 2 MB of growth.
# Arguments: [BUILD_DIR (default build-asan)] [GAME_SECONDS (default 1800)]
set -euo pipefail
cd "$(dirname "$0")/../.."
BUILD=${1:-build-asan}
SECONDS_OF_GAME=${2:-1800}
cmake --build "$BUILD" --target dorvik_soak > /dev/null
# A small quarantine that fills during the first game, and free pages handed
# back at once, so the sanitizer's own caching does not look like growth;
# leaks are looked for by the memory figures instead.
export ASAN_OPTIONS=detect_leaks=0:quarantine_size_mb=4:allocator_release_to_os_interval_ms=0:halt_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
start=$(date +%s)
nice -n 15 "$BUILD/tests/dorvik_soak" "$BUILD/game" "$SECONDS_OF_GAME" 2048
echo "wall-seconds=$(( $(date +%s) - start ))"
