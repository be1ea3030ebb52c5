#!/usr/bin/env bash
# The real window for a while in real time (default 10 minutes) under Xvfb,
# played now and then with xdotool: games are started, fired in, lost, named
# and started again. Prints the resident memory every 10 s and fails if it
# grows by more than 1 MB (1024 kB) after the first minute.
# Arguments: the game folder [seconds].
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"; fi
source "$(dirname "$0")/../e2e/common.bash"
make_game_copy "$1"
SECONDS_TO_RUN=${2:-600}

rss_kb() { awk -v page="$(getconf PAGESIZE)" '{ print $2 * page / 1024 }' "/proc/$GAME_PID/statm"; }
start_game
sleep 5  # loading and, on a first start, the maps

# Samples every 10 s beside the player.
(
    t=0
    while kill -0 "$GAME_PID" 2>/dev/null && [ "$t" -le "$SECONDS_TO_RUN" ]; do
        echo "$t $(rss_kb)"
        sleep 10
        t=$(( t + 10 ))
    done
) > "$GAME/rss.txt" &
SAMPLER=$!

# The player: starts games, pauses and resumes, walks, fires at the field in
# bursts, types a letter of a name and ends the name with Enter.
end=$(( $(date +%s) + SECONDS_TO_RUN ))
while [ "$(date +%s)" -lt "$end" ]; do
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended: $(cat "$GAME/run.log")"
    # In a game: pause and resume; after a name: back to the menu; in the
    # menu: a new game.
    hold_key Return; hold_key Escape; sleep 0.1; hold_key Return
    mouse_to $(( 60 + RANDOM % 180 )) $(( 60 + RANDOM % 180 ))
    xdotool mousedown 1; sleep 0.6; xdotool mouseup 1
    hold_key "$(echo w a s d | cut -d' ' -f$(( RANDOM % 4 + 1 )))" 0.3
    xdotool type --window "$WID" k 2>/dev/null || true
    sleep 0.3
done
wait "$SAMPLER" || true
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended: $(cat "$GAME/run.log")"

awk '{ printf "t=%ss rss=%skB\n", $1, $2 }
     $1 >= 60 { if (base == "") base = $2; if ($2 - base > worst) worst = $2 - base }
     END { printf "samples=%d rss-at-60s=%skB largest-growth-after=%dkB\n", NR, base, worst; exit worst > 1024 }' \
    "$GAME/rss.txt" || fail "memory grew by more than 1 MB after the first minute"
# Games finished in this run: the tenth line of the settings file.
echo "games-finished=$(sed -n 10p "$GAME/OtherFiles/Options.txt" | tr -d ' \r')"
echo "rss_window: ok"
