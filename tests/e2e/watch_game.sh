#!/usr/bin/env bash
# A game watched again: lose a game standing still, name it, and the high
# score screen offers "WATCH GAME" for it; the battle plays again whatever
# the player presses, and Escape returns to the table. A damaged recording
# says so instead of playing. Argument: the game folder.
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"; fi
source "$(dirname "$0")/common.bash"
make_game_copy "$1"
rm -rf "$GAME"/AtopDv118.dvk* "$GAME"/Replays

# Windowed, no snow, blood, trails or blending, silent: the menus stand still.
maps=0
ls "$GAME"/Pictures/Map01.bmp > /dev/null 2>&1 && maps=1
mkdir -p "$GAME/OtherFiles"
printf ' 8 \r\n 8 \r\n 8 \r\n 8 \r\n 8 \r\n 8 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 8 \r\n %d \r\n 8 \r\n 0 \r\n 8 \r\n 8 \r\n' \
    "$maps" > "$GAME/OtherFiles/Options.txt"

alive() { kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended unexpectedly: $(cat "$GAME/run.log")"; }
snap() { shot "$GAME/$1.png"; [ -z "${WATCH_SHOTS:-}" ] || cp "$GAME/$1.png" "$WATCH_SHOTS/"; }
# Pixels of a colour class in a rectangle: navy item text, or white (an item
# under the mouse).
count() {  # count SHOT navy|white X Y W H
    convert "$GAME/$1.png" -crop "$5x$6+$3+$4" +repage -depth 8 txt:- | awk -F'[(),]' -v c="$2" '
        NR > 1 && c == "navy" && $3 < 80 && $4 < 80 && $5 > 90 { n++ }
        NR > 1 && c == "white" && $3 > 220 && $4 > 220 && $5 > 220 { n++ }
        END { print n + 0 }'
}
on_table() {  # the high score screen's small logo at (160, 23)
    local m
    m=$(px match "$GAME/$1.png" 160 23 "$GAME/Pictures/Logo.jpg" 0 24 107 23)
    awk "BEGIN{exit !($m > 0.7)}"
}
# "WATCH GAME" at (180, 210), size 10, turns white under the mouse.
watch_item_shown() {
    mouse_to 200 216
    sleep 0.4
    snap "$1"
    [ "$(count "$1" white 180 210 80 14)" -gt 20 ]
}

start_game
for _ in $(seq 1 150); do  # loading, and the map generation of a first start
    sleep 0.2
    alive
    mouse_to 200 200
    snap menu
    m=$(px match "$GAME/menu.png" 191 191 "$GAME/Pictures/CursorMenu.jpg" 18 0 18 18 2> /dev/null || echo 0)
    awk "BEGIN{exit !($m > 0.9)}" && break
done

# "START NEW GAME" at (30, 50); then stand still until the opponents win and
# the name box shows behind row 1.
click_at 60 57
entry=no
for _ in $(seq 1 150); do
    alive
    sleep 1
    snap play
    m=$(px match "$GAME/play.png" 82 50 "$GAME/Pictures/EnterText.jpg" 0 15 150 15)
    if awk "BEGIN{exit !($m > 0.5)}"; then entry=yes; break; fi
done
[ "$entry" = yes ] || fail "no name entry within 150 s"
if watch_item_shown naming; then fail "WATCH GAME offered while the name is typed"; fi
xdotool type --delay 120 "Vera"
hold_key Return 0.2
for _ in $(seq 1 40); do
    ls "$GAME"/Replays/*.dvr > /dev/null 2>&1 && break
    sleep 0.1
done
recording=$(ls "$GAME"/Replays/*.dvr 2> /dev/null | head -n 1)
[ -n "$recording" ] || fail "no recording beside the table"

# The game just named is picked: its row is underlined and it can be watched.
watch_item_shown table || fail "no WATCH GAME for the new entry"
click_at 200 216
sleep 1.5
alive
snap watch1
sleep 1.5
snap watch2
on_table watch2 && fail "the table is still shown after WATCH GAME"
# The clock in the status bar runs on (the picture stands still otherwise).
[ "$(px diff "$GAME/watch1.png" "$GAME/watch2.png" 0 300 300 80 | awk '{printf "%d", $1 * 10000}')" -gt 0 ] ||
    fail "the watched battle does not run"

# The player's keys change nothing, and X does not quit.
hold_key x
hold_key Return
click_at 30 30
alive
snap watch3
on_table watch3 && fail "a key or click left watching"

# Escape: back on the high score screen, and the game can be watched again.
hold_key Escape 0.3
sleep 1
snap back
on_table back || fail "Escape did not return to the high score screen"
watch_item_shown again || fail "no WATCH GAME after watching"

# A damaged recording says why in one line instead of playing.
head -c 40 "$recording" > "$GAME/cut" && mv "$GAME/cut" "$recording"
before=$(count again navy 30 246 240 12)
click_at 200 216
sleep 1
mouse_to 290 150
sleep 0.4
snap damaged
on_table damaged || fail "a damaged recording left the table"
[ "$(count damaged navy 30 246 240 12)" -gt $((before + 40)) ] || fail "no line saying the recording cannot play"
echo "watch game: ok"
