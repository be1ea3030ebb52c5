#!/bin/bash
# A player's first minute: start a game from the menu, walk, aim, pause,
# resume, take a screenshot and quit with X. Argument: the game folder.
# Runs the real program in Xvfb and drives it with xdotool.
set -u

GAME_DIR=${1:?usage: play_input.sh GAME_DIR}
GAME_DIR=$(cd "$GAME_DIR" && pwd)

# Re-run inside a private X server.
if [ -z "${DORVIK_E2E_INNER:-}" ]; then
    export DORVIK_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$GAME_DIR"
fi

WORK=$(mktemp -d /tmp/dorvik-e2e-input-XXXXXX)
GAME_PID=
cleanup() {
    if [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; then kill "$GAME_PID" 2>/dev/null; fi
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A copy of the game, so the run leaves the build clean.
cp -r "$GAME_DIR" "$WORK/game" || fail "cannot copy the game folder"
GAME="$WORK/game"
SHOTS="$WORK/shots"
mkdir -p "$SHOTS"
[ -x "$GAME/Dorvik" ] || fail "no Dorvik executable in $GAME_DIR"

# Settings that keep the picture still where the test compares it: windowed,
# no snow, blood, trails or blending, silent, static movement.
OPTS=$(ls "$GAME"/*/[Oo]ptions.txt 2>/dev/null | head -1)
[ -n "$OPTS" ] || OPTS="$GAME/OtherFiles/Options.txt"
MAPS=0
ls "$GAME"/Pictures/Map01.bmp >/dev/null 2>&1 && MAPS=1
printf ' 8 \r\n 8 \r\n 8 \r\n 8 \r\n 8 \r\n 8 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 8 \r\n %d \r\n 8 \r\n 0 \r\n 8 \r\n 8 \r\n' \
    "$MAPS" >"$OPTS"

export SDL_RENDER_DRIVER=software
export SDL_AUDIODRIVER=dummy
(cd "$GAME" && exec ./Dorvik) >"$WORK/game.log" 2>&1 &
GAME_PID=$!

WID=
for _ in $(seq 1 200); do
    WID=$(xdotool search --name '^Dorvik' 2>/dev/null | head -1)
    [ -n "$WID" ] && break
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended during start-up: $(cat "$WORK/game.log")"
    sleep 0.1
done
[ -n "$WID" ] || fail "no game window appeared"

shot() { import -window "$WID" "$SHOTS/$1.png" || fail "cannot capture the window"; }
# Number of pixels that differ between two shots inside a box (WxH+X+Y).
diff_in() {
    convert "$SHOTS/$1.png" -crop "$3" +repage "$SHOTS/a.png" &&
        convert "$SHOTS/$2.png" -crop "$3" +repage "$SHOTS/b.png" &&
        compare -metric AE -fuzz 5% "$SHOTS/a.png" "$SHOTS/b.png" null: 2>&1 >/dev/null | awk '{printf "%d", $1}'
}
alive() { kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended unexpectedly: $(cat "$WORK/game.log")"; }
# Mouse positions are field pixels; in a window the field is the client's top-left.
move() { xdotool mousemove --window "$WID" "$1" "$2"; }
# A press held over a few frames: the game polls the buttons and keys.
click() {
    move "$1" "$2"
    sleep 0.1
    xdotool mousedown 1
    sleep 0.15
    xdotool mouseup 1
}
key() {
    xdotool keydown "$1"
    sleep "${2:-0.15}"
    xdotool keyup "$1"
}

sleep 2  # start-up, and the first-run map generation when the maps are missing
alive
move 200 200
sleep 0.5
shot menu

# "START NEW GAME" at (30, 50), size 10.
click 60 57
sleep 1
alive
shot game
[ "$(diff_in menu game 300x300+0+0)" -gt 1000 ] || fail "no game started"

# The soldier starts at (140, 140). Standing still changes little around him ...
move 150 20
sleep 0.5
shot still1
sleep 0.5
shot still2
STILL=$(diff_in still1 still2 60x80+120+100)
# ... walking up half a second moves him by about 15 pixels.
key w 0.5
sleep 0.2
shot walked
WALKED=$(diff_in still2 walked 60x80+120+100)
echo "around the soldier: $STILL pixels changed standing, $WALKED walking"
[ "$WALKED" -gt 100 ] && [ "$WALKED" -gt $((STILL * 3)) ] || fail "the soldier did not move"

# Aiming to the right turns him.
move 290 130
sleep 0.5
shot turned
TURNED=$(diff_in walked turned 60x80+120+90)
echo "around the soldier: $TURNED pixels changed turning"
[ "$TURNED" -gt 40 ] && [ "$TURNED" -gt "$STILL" ] || fail "the soldier did not turn"
alive

# Escape: the paused menu over the frozen field, "RESUME GAME" at (30, 25).
shot before_pause
key Escape
sleep 0.5
alive
shot paused
[ "$(diff_in before_pause paused 300x300+0+0)" -gt 2000 ] || fail "Escape showed no menu"
[ "$(diff_in before_pause paused 110x14+30+25)" -gt 30 ] || fail "no RESUME GAME item"
click 60 32
sleep 0.5
alive
shot resumed
[ "$(diff_in paused resumed 300x300+0+0)" -gt 2000 ] || fail "RESUME GAME did not continue the game"

# Insert: a numbered JPEG in the game folder, no bitmap left.
key Insert 0.1
sleep 0.5
[ -f "$GAME/Dorvik Pic1.jpg" ] || fail "no \"Dorvik Pic1.jpg\" after Insert"
ls "$GAME"/*.bmp 2>/dev/null | grep -q 'Dorvik Pic' && fail "a screenshot bitmap was left behind"
identify "$GAME/Dorvik Pic1.jpg" | grep -q '301x378' || fail "the screenshot is not 301 x 378"

# X does nothing in a running game; paused it quits with status 0.
key x
sleep 0.5
alive
key Escape
sleep 0.5
key x
for _ in $(seq 1 50); do
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$GAME_PID" 2>/dev/null && fail "X on the paused menu did not quit"
wait "$GAME_PID"
STATUS=$?
GAME_PID=
[ "$STATUS" -eq 0 ] || fail "the game ended with status $STATUS"
echo "PASS"
