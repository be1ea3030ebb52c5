#!/usr/bin/env bash
# A player's first minute: start a game from the menu, walk, aim, pause,
# resume, take a screenshot and quit with X. Argument: the game folder.
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"; fi
source "$(dirname "$0")/common.bash"
make_game_copy "$1"

# Settings that keep the picture still where the test compares it: windowed,
# no snow, blood, trails or blending, silent, static movement. The maps are
# generated on the first start when they are missing.
maps=0
ls "$GAME"/Pictures/Map01.bmp > /dev/null 2>&1 && maps=1
mkdir -p "$GAME/OtherFiles"
printf ' 8 \r\n 8 \r\n 8 \r\n 8 \r\n 8 \r\n 8 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 8 \r\n %d \r\n 8 \r\n 0 \r\n 8 \r\n 8 \r\n' \
    "$maps" > "$GAME/OtherFiles/Options.txt"

alive() { kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended unexpectedly: $(cat "$GAME/run.log")"; }
# Share of differing pixels of two shots in a rectangle, in thousandths.
changed() {  # changed A B X Y W H
    px diff "$GAME/$1.png" "$GAME/$2.png" "$3" "$4" "$5" "$6" | awk '{printf "%d", $1 * 1000}'
}
snap() { shot "$GAME/$1.png"; }
# Pixels of the menu's navy item text in a rectangle.
navy() {  # navy SHOT X Y W H
    convert "$GAME/$1.png" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- |
        awk -F'[(),]' 'NR > 1 && $3 < 80 && $4 < 80 && $5 > 90 { n++ } END { print n + 0 }'
}

start_game
for _ in $(seq 1 150); do  # loading, and the map generation of a first start
    sleep 0.2
    alive
    mouse_to 200 200
    snap menu
    # The menu is up when the pointer is drawn where the mouse is.
    m=$(px match "$GAME/menu.png" 191 191 "$GAME/Pictures/CursorMenu.jpg" 18 0 18 18 2> /dev/null || echo 0)
    awk "BEGIN{exit !($m > 0.9)}" && break
done

# "START NEW GAME" at (30, 50), size 10.
click_at 60 57
sleep 1
alive
snap game
[ "$(changed menu game 0 0 300 300)" -gt 100 ] || fail "no game started"
# X does nothing in a running game. (Early, while the soldier is surely alive:
# once he dies the score table takes the keys for his name.)
hold_key x
sleep 0.3
alive

# The soldier starts at (140, 140), facing the pointer straight above him.
mouse_to 150 20
sleep 0.5
snap still1
sleep 0.5
snap still2
still=$(changed still1 still2 120 100 60 80)
# Half a second of W walks him up by about 15 pixels.
hold_key w 0.5
sleep 0.2
snap walked
walked=$(changed still2 walked 120 100 60 80)
echo "around the soldier, thousandths changed: standing $still, walking $walked"
[ "$walked" -gt 30 ] && [ "$walked" -gt $((still * 3)) ] || fail "the soldier did not move"

# Aiming to the right turns him.
mouse_to 290 130
sleep 0.5
snap turned
turned=$(changed walked turned 130 105 40 45)
echo "around the soldier, thousandths changed turning: $turned"
[ "$turned" -gt 20 ] && [ "$turned" -gt "$still" ] || fail "the soldier did not turn"
alive

# Escape: the menu over the frozen field, "RESUME GAME" at (30, 25).
snap before_pause
hold_key Escape
sleep 0.5
alive
snap paused
[ "$(changed before_pause paused 0 0 300 300)" -gt 80 ] || fail "Escape showed no menu"
# The item is there now and was not on the menu before the game.
[ "$(navy menu 30 25 110 14)" -lt 10 ] || fail "RESUME GAME on the menu before any game"
[ "$(navy paused 30 25 110 14)" -gt 30 ] || fail "no RESUME GAME item on the paused menu"
sleep 0.3
snap paused2
[ "$(changed paused paused2 150 150 100 100)" -lt 100 ] || fail "the field behind the menu is not frozen"
click_at 60 32
sleep 0.3
alive
snap resumed
[ "$(changed paused resumed 0 0 300 300)" -gt 80 ] || fail "RESUME GAME did not continue the game"

# Insert: a numbered JPEG of the field and status bar. Then pause at once, so
# the battle cannot end the game meanwhile.
hold_key Insert 0.1
hold_key Escape
sleep 0.5
alive
[ -f "$GAME/Dorvik Pic1.jpg" ] || fail "no \"Dorvik Pic1.jpg\" after Insert"
ls "$GAME" | grep -q 'Dorvik Pic.*\.bmp' && fail "a screenshot bitmap was left behind"
identify "$GAME/Dorvik Pic1.jpg" | grep -q ' 301x378 ' || fail "the screenshot is not 301 x 378"

# X on the paused menu quits with status 0.
hold_key x
sleep 1
if kill -0 "$GAME_PID" 2>/dev/null; then
    # The opponents may have won meanwhile: the high score screen then waits
    # for a name, and X waits for it too.
    hold_key Return 0.2
    sleep 0.5
    hold_key x
fi
expect_exit 0 10
echo "play_input: ok"
