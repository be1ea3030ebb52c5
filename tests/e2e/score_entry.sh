#!/usr/bin/env bash
# A whole game as a player: start it with Enter, stand still until the
# opponents kill the soldier, type a name on the high score screen, press
# Enter, and find the record in the scrambled score file.
#   score_entry.sh GAME_FOLDER
set -euo pipefail
game=${1:?usage: score_entry.sh GAME_FOLDER}
game=$(cd "$game" && pwd)

# Run ourselves inside a fresh X server.
if [ -z "${DORVIK_E2E_INNER:-}" ]; then
    for tool in xvfb-run xdotool import convert python3; do
        command -v "$tool" > /dev/null || { echo "missing $tool"; exit 1; }
    done
    [ -x "$game/Dorvik" ] || { echo "no game at $game"; exit 1; }
    export DORVIK_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$game"
fi

work=$(mktemp -d /tmp/dorvik-score-e2e.XXXXXX)
pid=""
finish() {
    local rc=$?
    if [ -n "$pid" ] && kill -0 "$pid" 2> /dev/null; then
        kill "$pid" 2> /dev/null || true
        wait "$pid" 2> /dev/null || true
    fi
    if [ $rc -eq 0 ]; then rm -rf "$work"; else echo "kept for inspection: $work"; fi
}
trap finish EXIT

cp -r "$game" "$work/game"
rm -f "$work/game/AtopDv118.dvk" "$work/game"/AtopDv118.dvk.bak*
cd "$work/game"
SDL_AUDIODRIVER=dummy ./Dorvik > "$work/game.log" 2>&1 &
pid=$!

wid=""
for _ in $(seq 1 60); do
    wid=$(xdotool search --name "^Dorvik" 2> /dev/null | head -1 || true)
    [ -n "$wid" ] && break
    kill -0 "$pid" 2> /dev/null || { echo "the game ended at start-up"; cat "$work/game.log"; exit 1; }
    sleep 0.5
done
[ -n "$wid" ] || { echo "no game window"; exit 1; }

shot() { import -window root "$1"; }
# A fingerprint of the status bar below the field (client y 301..378).
status_print() {
    local geo x y
    geo=$(xdotool getwindowgeometry --shell "$wid")
    x=$(echo "$geo" | sed -n 's/^X=//p')
    y=$(echo "$geo" | sed -n 's/^Y=//p')
    import -window root -crop "300x70+${x}+$((y + 305))" +repage rgb:- 2> /dev/null | md5sum
}
hold_key() {  # key, held long enough for keyboard-state polling to see it
    xdotool keydown "$1"
    sleep 0.2
    xdotool keyup "$1"
}

# Enter on the main menu starts a game; the status bar then shows the
# soldier's bars. Loading (and a first-run map generation) may come first.
started=""
for _ in $(seq 1 40); do
    before=$(status_print)
    hold_key Return
    sleep 2
    if [ "$(status_print)" != "$before" ]; then
        started=1
        break
    fi
done
[ -n "$started" ] || { shot "$work/not-started.png"; echo "no game started"; exit 1; }
echo "game started"
shot "$work/in-game.png"

# Stand still. The end of a game counts it in the options file.
opts=$(ls OtherFiles/ | grep -i '^options.txt$' | head -1)
[ -n "$opts" ] || { echo "no options file"; exit 1; }
opts_before=$(md5sum < "OtherFiles/$opts")
ended=""
for _ in $(seq 1 160); do
    if [ "$(md5sum < "OtherFiles/$opts")" != "$opts_before" ]; then
        ended=1
        break
    fi
    kill -0 "$pid" 2> /dev/null || { echo "the game ended during play"; cat "$work/game.log"; exit 1; }
    sleep 1
done
[ -n "$ended" ] || { shot "$work/still-playing.png"; echo "the soldier did not die in time"; exit 1; }
echo "game over"
sleep 1.5
[ ! -e AtopDv118.dvk ] || cp AtopDv118.dvk "$work/before.dvk"

# The high score screen waits for a name (no x: X leaves the menus).
xdotool type --delay 120 "bjoRN"
sleep 0.5
shot "$work/name-entry.png"
hold_key Return

for _ in $(seq 1 20); do
    if [ -e AtopDv118.dvk ] && ! cmp -s AtopDv118.dvk "$work/before.dvk" 2> /dev/null; then break; fi
    sleep 0.25
done
[ -e AtopDv118.dvk ] || { shot "$work/no-file.png"; echo "no score file written"; exit 1; }
shot "$work/high-scores.png"

python3 - AtopDv118.dvk << 'PY'
import sys
data = open(sys.argv[1], "rb").read()
lines = data.split(b"\r\n")
assert lines[-1] == b"" and lines[-2] == b"END", "file does not end with END"
records = [bytes(c ^ 0xD3 for c in l).decode("latin-1") for l in lines[:-2]]
assert len(records) == 11, f"{len(records)} records"
found = [r for r in records if r[85:] == "Bjorn"]
assert found, "no record named Bjorn:\n" + "\n".join(records)
r = found[0]
score = int(r[0:5])
assert score > 0, r
assert r[5:7] == "K=" and r[61:64] == "HD=" and r[72:82] == "??????????" and r[82:85] == " N=", r
print("record:", r)
PY
echo "score entry passed"
