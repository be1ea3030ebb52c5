#!/usr/bin/env bash
# Kills the save driver with SIGKILL at random moments while it saves the
# settings, the score table and the terrain maps, again and again; every next
# start checks that each file is the complete old or the complete new one and
# that no temporary file is left behind. Then kills the game itself while its
# first start makes the maps and saves the settings, and checks every file is
# whole. Prints the totals.
# Arguments: DRIVER GAME_DIR [KILLS] [GAME_KILLS] [SLOW_SAVE_MS]
set -euo pipefail
DRIVER=$1
SOURCE_GAME=$2
KILLS=${3:-300}
GAME_KILLS=${4:-100}
export DORVIK_SLOW_SAVE_MS=${5:-4}

# A kill loses nothing the kernel already holds, so memory-backed files test
# the same thing as a disk without waiting for every fsync.
base=/tmp
[ -w /dev/shm ] && base=/dev/shm
WORK=$(mktemp -d "$base/dorvik-kill-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
GAME=$WORK/game
mkdir -p "$GAME/OtherFiles" "$GAME/Pictures"
cp "$SOURCE_GAME"/OtherFiles/Temp.txt "$GAME/OtherFiles/"
cp "$SOURCE_GAME"/Pictures/Map0[1-4].jpg "$SOURCE_GAME"/Pictures/MainLogo.jpg "$GAME/Pictures/"
JOURNAL=$WORK/journal

"$DRIVER" "$GAME" "$JOURNAL" --init

# How long one round of saves takes, so the kills spread over all of it.
start=$(date +%s%N)
"$DRIVER" "$GAME" "$JOURNAL" &
pid=$!
sleep 2
kill -9 "$pid"
wait "$pid" 2>/dev/null || true
rounds=$(awk '$1 == "end" && $2 == "AtopDv118.dvk"' "$JOURNAL" | wc -l)
span_ms=$(( 2000 / (rounds > 1 ? rounds - 1 : 1) ))
[ "$span_ms" -lt 100 ] && span_ms=100

shopt -s nullglob
checks() { wc -l < "$JOURNAL.results"; }
for k in $(seq 1 "$KILLS"); do
    before=$(checks)
    "$DRIVER" "$GAME" "$JOURNAL" &
    pid=$!
    # Past the start's own check, then anywhere in a round; every second
    # kill waits on from there until a save of the settings, the score table
    # or a map (in turn) is under way.
    while [ "$(checks)" -eq "$before" ] && kill -0 "$pid" 2>/dev/null; do sleep 0.005; done
    sleep "$(awk -v r=$RANDOM -v s="$span_ms" 'BEGIN { printf "%.3f", r / 32767 * s / 1000 }')"
    if (( k % 2 )); then
        for _ in $(seq 1 600); do
            case $(( k / 2 % 3 )) in
                0) tmps=("$GAME"/OtherFiles/*.tmp) ;;
                1) tmps=("$GAME"/*.tmp) ;;
                2) tmps=("$GAME"/Pictures/*.tmp) ;;
            esac
            [ ${#tmps[@]} -gt 0 ] && break
            sleep 0.002
        done
    fi
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
done
"$DRIVER" "$GAME" "$JOURNAL" --check

# One check line per start; the totals, and whether anything was lost.
summary() {  # summary RESULTS WHAT KILLS
    awk -v what="$2" -v kills="$3" '
    { for (i = 2; i <= NF; i++) {
          split($i, kv, "=")
          if (kv[1] == "cut") { m = split(kv[2], names, ","); for (j = 1; j <= m; j++) { name = names[j]; sub(/.*\//, "", name); sub(/\.tmp.*/, "", name); sub(/Map0[1-4]/, "Map0N", name); cut[name]++ } }
          else if (kv[2] != "") t[kv[1]] += kv[2]
      }
      n++ }
    END {
        printf "%s: kills=%d starts-checked=%d files-checked=%d files-lost=%d saves-cut-short(temporary file found)=%d", what, kills, n, t["files"], t["lost"], t["leftovers"]
        for (name in cut) printf " %s:%d", name, cut[name]
        printf " files-found-new-after-unfinished-save=%d debris-after-start=%d\n", t["new"], t["debris"]
        exit (t["lost"] > 0 || t["debris"] > 0)
    }' "$1" || { grep -v ' lost=0 ' "$1" | head; exit 1; }
}
# The folders hold the game's own files and nothing else.
only_own() {  # only_own FOLDER JOURNAL
    local extra
    extra=$(cd "$1" && find . -type f | sed 's|^\./||' | sort | comm -23 - <(awk '$1 == "own" { print $2 }' "$2" | sort))
    [ -z "$extra" ] || { echo "left behind in $1: $extra"; exit 1; }
}
summary "$JOURNAL.results" "save driver (round ${span_ms}ms)" "$KILLS"
only_own "$GAME" "$JOURNAL"

# The game itself, with dummy video and sound. Each start finds the maps
# marked as not made, so it makes them and then saves the settings.
REAL=$WORK/real
RJOURNAL=$WORK/real-journal
mkdir -p "$REAL"
cp -a "$SOURCE_GAME"/. "$REAL"/
rm -f "$REAL"/Pictures/Map0[1-4].bmp "$REAL"/AtopDv118.dvk
maps_made() { [ "$(sed -n 12p "$REAL/OtherFiles/Options.txt" | tr -d ' \r')" = 1 ]; }
unmark_maps() {  # our own change of the settings, itself a replacement
    sed '12s/.*/ 0 \r/' "$REAL/OtherFiles/Options.txt" > "$WORK/Options.txt"
    mv "$WORK/Options.txt" "$REAL/OtherFiles/Options.txt"
}
start_game() {
    (cd "$REAL" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy exec ./Dorvik) > /dev/null 2>&1 &
    pid=$!
}
stop_game() { kill -9 "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; }
unmark_maps
start=$(date +%s%N)
start_game
for _ in $(seq 1 600); do maps_made && break; sleep 0.02; done
start_ms=$(( ($(date +%s%N) - start) / 1000000 ))
sleep 0.3
stop_game
maps_made || { echo "the game did not make its maps"; exit 1; }
(cd "$REAL" && find . -type f | sed 's|^\./||' | sed 's/^/own /') > "$RJOURNAL"
for _ in $(seq 1 "$GAME_KILLS"); do
    unmark_maps
    start_game
    sleep "$(awk -v r=$RANDOM -v s="$start_ms" 'BEGIN { printf "%.3f", (r / 32767 * (s + 100)) / 1000 }')"
    stop_game
    "$DRIVER" "$REAL" "$RJOURNAL" --whole
done
summary "$RJOURNAL.results" "the game (first start ${start_ms}ms)" "$GAME_KILLS"
only_own "$REAL" "$RJOURNAL"
echo "kill_saves: ok"
