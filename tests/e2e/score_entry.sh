#!/usr/bin/env bash
# A whole game as a player: start it with Enter, stand still until the
# opponents kill the soldier, type a name on the high score screen, press
# Enter, and find the record in the scrambled score file.
#   score_entry.sh GAME_FOLDER
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"; fi
source "$(dirname "$0")/common.bash"
make_game_copy "$1"
rm -f "$GAME"/AtopDv118.dvk*  # an empty table: the first game places first

start_game
# Loading (and on the first start the map generation) shows MainLogo; the
# menus follow.
logo=no
for _ in $(seq 1 300); do
    shot "$GAME/start.png"
    d=$(px like "$GAME/start.png" 0 0 300 260 "$GAME/Pictures/MainLogo.jpg")
    if [ $logo = no ]; then
        awk "BEGIN{exit !($d < 20)}" && logo=yes
    else
        awk "BEGIN{exit !($d > 40)}" && break
    fi
    sleep 0.1
done
sleep 1

# Enter on the main menu starts a game: the status bar comes alive.
started=no
for _ in $(seq 1 10); do
    shot "$GAME/before.png"
    hold_key Return 0.2
    sleep 2
    shot "$GAME/after.png"
    changed=$(px diff "$GAME/before.png" "$GAME/after.png" 0 301 300 78)
    if awk "BEGIN{exit !($changed > 0.02)}"; then started=yes; break; fi
done
[ "$started" = yes ] || fail "Enter did not start a game"

# Stand still until the opponents win. The high score screen then shows the
# name box behind row 1 and the small logo.
entry=no
for _ in $(seq 1 150); do
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended during play: $(cat "$GAME/run.log")"
    shot "$GAME/play.png"
    m=$(px match "$GAME/play.png" 82 50 "$GAME/Pictures/EnterText.jpg" 0 15 150 15)
    if awk "BEGIN{exit !($m > 0.5)}"; then entry=yes; break; fi
    sleep 1
done
[ "$entry" = yes ] || fail "no name entry on a high score screen within 150 s"
m=$(px match "$GAME/play.png" 160 23 "$GAME/Pictures/Logo.jpg" 0 24 107 23)
awk "BEGIN{exit !($m > 0.7)}" || fail "the high score screen's logo is missing (match $m)"
[ ! -e "$GAME/AtopDv118.dvk" ] || cp "$GAME/AtopDv118.dvk" "$GAME/table-before"

# A name (no x: X closes the menus' program) and Enter.
xdotool type --delay 120 "bjoRN"
sleep 0.5
hold_key Return 0.2
for _ in $(seq 1 40); do
    if [ -e "$GAME/AtopDv118.dvk" ] && ! cmp -s "$GAME/AtopDv118.dvk" "$GAME/table-before"; then break; fi
    sleep 0.1
done
[ -e "$GAME/AtopDv118.dvk" ] || fail "no score file written"
sleep 0.5
shot "$GAME/done.png"
m=$(px match "$GAME/done.png" 82 50 "$GAME/Pictures/EnterText.jpg" 0 15 150 15)
awk "BEGIN{exit !($m < 0.5)}" || fail "the name box is still shown after Enter"

/usr/bin/python3 - "$GAME/AtopDv118.dvk" << 'PY' || fail "the score file does not hold the new record"
import sys
lines = open(sys.argv[1], "rb").read().split(b"\r\n")
assert lines[-2:] == [b"END", b""], "the file does not end with END"
records = [bytes(c ^ 0xD3 for c in l).decode("latin-1") for l in lines[:-2]]
assert len(records) == 11, "%d records" % len(records)
r = records[0]
print("record 1:", r)
assert r[85:] == "Bjorn", "name"
assert int(r[0:5]) > 0, "score"
assert r[5:7] == "K=" and r[61:64] == "HD=" and r[72:85] == "?????????? N=", "columns"
PY
echo "score entry: ok"
