#!/usr/bin/env bash
# The program starts in a real X server, shows the loading screen and then the
# menus, the menu pointer follows the mouse, and closing the window ends the
# process with status 0. Without a display it says so and fails cleanly.
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"; fi
source "$(dirname "$0")/common.bash"
make_game_copy "$1"

# No display: one clear line, a non-zero status, no crash.
set +e
out=$(cd "$GAME" && env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER= ./Dorvik 2>&1)
status=$?
set -e
[ "$status" -ne 0 ] && [ "$status" -lt 128 ] || fail "without a display the status was $status"
[ "$(printf '%s\n' "$out" | grep -c .)" -eq 1 ] || fail "expected one line without a display, got: $out"
echo "$out" | grep -qi "display" || fail "the message does not mention the display: $out"

start_game
# The first start generates the maps and loads everything behind MainLogo.
saw_logo=no
for i in $(seq 1 60); do
    shot "$GAME/early.png"
    d=$(px like "$GAME/early.png" 0 0 300 260 "$GAME/Pictures/MainLogo.jpg")
    if awk "BEGIN{exit !($d < 20)}"; then saw_logo=yes; break; fi
    sleep 0.05
done
[ "$saw_logo" = yes ] || fail "the loading screen was never seen"

# Then the menus: the pointer is drawn where the mouse is.
sleep 2
for spot in "80 200" "220 120"; do
    set -- $spot
    mouse_to "$1" "$2"
    sleep 0.4
    shot "$GAME/menu.png"
    m=$(px match "$GAME/menu.png" $(( $1 - 9 )) $(( $2 - 9 )) "$GAME/Pictures/CursorMenu.jpg" 18 0 18 18)
    awk "BEGIN{exit !($m > 0.9)}" || fail "menu pointer not at $1,$2 (match $m)"
done

# Closing the window runs the shut-down and ends with status 0.
/usr/bin/python3 "$E2E_DIR/closewin.py" "$WID"
expect_exit 0 10
echo "startup: ok"
