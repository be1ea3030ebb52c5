#!/usr/bin/env bash
# On a 1920 x 1080 screen the window opens at twice the picture; the pointer
# and clicks land on the same field pixels at 2x and in full screen; F11 and
# Alt+Enter switch the display and the options screen says which; the scale
# the player drags the window to is used again on the next start.
#   window_scale.sh GAME_FOLDER
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1920x1080x24" bash "$0" "$@"; fi
source "$(dirname "$0")/common.bash"
make_game_copy "$1"
maps=0
ls "$GAME"/Pictures/Map01.bmp > /dev/null 2>&1 && maps=1
mkdir -p "$GAME/OtherFiles"
# Windowed, no blending (a still menu), silent.
printf ' 8 \r\n 8 \r\n 8 \r\n 8 \r\n 8 \r\n 8 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 8 \r\n %d \r\n 8 \r\n 0 \r\n 8 \r\n 8 \r\n' \
    "$maps" > "$GAME/OtherFiles/Options.txt"
convert "$GAME/Pictures/Check.jpg" -crop 8x8+0+0 +repage "$GAME/on.png"
convert "$GAME/Pictures/Check.jpg" -crop 8x8+8+0 +repage "$GAME/off.png"

# The picture at field scale: the screen cut at the picture and shrunk by n.
picture() {  # picture OUT X Y W H N
    import -window root "$GAME/root.png"
    convert "$GAME/root.png" -crop "$4x$5+$2+$3" +repage -sample "$((100 / $6))%" "$GAME/$1.png"
}
pointer_at() {  # pointer_at SHOT X Y: the menu pointer is drawn centred there
    local m
    m=$(px match "$GAME/$1.png" $(( $2 - 9 )) $(( $3 - 9 )) "$GAME/Pictures/CursorMenu.jpg" 18 0 18 18)
    awk "BEGIN{exit !($m > 0.9)}"
}
box() {  # box SHOT X Y: "on" or "off", whichever cell the check box is closer to
    local on off
    on=$(px like "$GAME/$1.png" "$2" "$3" 8 8 "$GAME/on.png")
    off=$(px like "$GAME/$1.png" "$2" "$3" 8 8 "$GAME/off.png")
    awk "BEGIN{print ($on < $off) ? \"on\" : \"off\"}"
}

start_game
[ "$(window_size)" = "600 758" ] || fail "the window is $(window_size), not 600 x 758"
eval "$(xdotool getwindowgeometry --shell "$WID")"
for _ in $(seq 1 100); do  # loading and a first map generation
    sleep 0.2
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended: $(cat "$GAME/run.log")"
    mouse_to 400 400
    picture menu "$X" "$Y" 600 758 2
    pointer_at menu 200 200 && break
done
pointer_at menu 200 200 || fail "the menu pointer is not at field pixel 200,200 at 2x"

# "OPTIONS & GAME INFO" at (30, 100): clicked at twice its place.
click_at 120 214
sleep 0.5
picture options "$X" "$Y" 600 758 2
[ "$(box options 30 128)" = off ] || fail "the options screen does not show the window"

# F11: full screen, the caption kept, the 640 x 480 picture at 2x in the middle.
xdotool key F11
sleep 1
[ "$(window_size)" = "1920 1080" ] || fail "F11 gave a window of $(window_size)"
[ "$(xdotool getwindowname "$WID")" = "Dorvik - Der ur Uruzu 1.22 - 01.01.2026." ] || fail "the full screen lost its name"
xdotool mousemove $(( 320 + (170 + 250) * 2 )) $(( 60 + (50 + 180) * 2 ))
sleep 0.5
picture full 320 60 1280 960 2
convert "$GAME/full.png" -crop 300x300+170+50 +repage "$GAME/fullfield.png"
[ "$(box fullfield 30 128)" = on ] || fail "the options screen does not show the full screen"
pointer_at fullfield 250 180 || fail "the pointer is not at field pixel 250,180 in full screen"
grep -q '^ 0 ' <(sed -n 13p "$GAME/OtherFiles/Options.txt") || fail "the full screen was not kept in the settings"

# Alt+Enter: back to the window at its scale; no Enter reached the game.
xdotool key alt+Return
sleep 1
[ "$(window_size)" = "600 758" ] || fail "Alt+Enter gave a window of $(window_size)"
eval "$(xdotool getwindowgeometry --shell "$WID")"
mouse_to 400 400
sleep 0.5
picture back "$X" "$Y" 600 758 2
[ "$(box back 30 128)" = off ] || fail "the options screen does not show the window again"

# The player drags the window down to 1x; the next start opens at 1x.
xdotool windowsize "$WID" 320 400
sleep 1
grep -q '^Scale  *1' "$GAME/OtherFiles/Window.txt" || fail "the chosen scale was not remembered"
mouse_to 150 150
hold_key x
expect_exit 0 10
start_game
[ "$(window_size)" = "300 379" ] || fail "the second start opened at $(window_size)"
stop_game
echo "window_scale: ok"
