#!/usr/bin/env bash
# A game watched again: lose a game standing still and name it; the high
# score screen offers "WATCH GAME" for it; the battle plays whatever the
# player presses; Escape returns to the table; a damaged recording says so
# instead of playing. Argument: the game folder.
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"; fi
source "$(dirname "$0")/common.bash"
make_game_copy "$1"
rm -rf "$GAME"/AtopDv118.dvk* "$GAME"/Replays
# Windowed, no snow, blood, trails or blending, silent: the menus stand still.
maps=0
ls "$GAME"/Pictures/Map01.bmp > /dev/null 2>&1 && maps=1
printf ' 8 \r\n 8 \r\n 8 \r\n 8 \r\n 8 \r\n 8 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 8 \r\n %d \r\n 8 \r\n 0 \r\n 8 \r\n 8 \r\n' \
    "$maps" > "$GAME/OtherFiles/Options.txt"

alive() { kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended unexpectedly: $(cat "$GAME/run.log")"; }
snap() { shot "$GAME/$1.png"; [ -z "${WATCH_SHOTS:-}" ] || cp "$GAME/$1.png" "$WATCH_SHOTS/"; }
navy() {  # navy SHOT X Y W H: pixels of menu item text in a rectangle
    convert "$GAME/$1.png" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- |
        awk -F'[(),]' 'NR > 1 && $3 < 80 && $4 < 80 && $5 > 90 { n++ } END { print n + 0 }'
}
sprite_at() {  # sprite_at SHOT X Y PICTURE MASK_X MASK_Y W H
    local m
    m=$(px match "$GAME/$1.png" "$2" "$3" "$GAME/Pictures/$4" "$5" "$6" "$7" "$8" 2> /dev/null || echo 0)
    awk "BEGIN{exit !($m > 0.7)}"
}
on_table() { sprite_at "$1" 160 23 Logo.jpg 0 24 107 23; }  # the high score screen's small logo
watch_item_shown() {  # "WATCH GAME" at (180, 210), the mouse away from it
    mouse_to 290 150
    sleep 0.4
    snap "$1"
    [ "$(navy "$1" 180 210 80 14)" -gt 20 ]
}

start_game
for _ in $(seq 1 150); do  # loading, and the map generation of a first start
    sleep 0.2
    alive
    mouse_to 200 200
    snap menu
    sprite_at menu 191 191 CursorMenu.jpg 18 0 18 18 && break
done
click_at 60 57  # "START NEW GAME"; the opponents win, the name box shows
for i in $(seq 1 151); do
    [ "$i" -le 150 ] || fail "no name entry within 150 s"
    alive
    sleep 1
    snap play
    sprite_at play 82 50 EnterText.jpg 0 15 150 15 && break
done
! watch_item_shown naming || fail "WATCH GAME offered while the name is typed"
xdotool type --delay 120 "Vera"
hold_key Return 0.2
sleep 1
recording=$(ls "$GAME"/Replays/*.dvr 2> /dev/null | head -n 1)
[ -n "$recording" ] || fail "no recording beside the table"

# The game just named is picked and can be watched.
watch_item_shown table || fail "no WATCH GAME for the new entry"
click_at 200 216
sleep 1.5
snap watch1
hold_key x  # neither X, Enter nor a click leaves watching
hold_key Return
click_at 30 30
sleep 1.5
alive
snap watch2
on_table watch2 && fail "the table is shown while watching"
# The clock in the status bar runs on.
[ "$(px diff "$GAME/watch1.png" "$GAME/watch2.png" 0 300 300 80 | awk '{printf "%d", $1 * 10000}')" -gt 0 ] ||
    fail "the watched battle does not run"

hold_key Escape 0.3
sleep 1
snap back
on_table back || fail "Escape did not return to the high score screen"
watch_item_shown again || fail "no WATCH GAME after watching"

head -c 40 "$recording" > "$GAME/cut" && mv "$GAME/cut" "$recording"
before=$(navy again 30 246 240 12)
click_at 200 216
sleep 1
mouse_to 290 150
sleep 0.4
snap damaged
on_table damaged || fail "a damaged recording left the table"
[ "$(navy damaged 30 246 240 12)" -gt $((before + 40)) ] || fail "no line saying the recording cannot play"
echo "watch game: ok"
