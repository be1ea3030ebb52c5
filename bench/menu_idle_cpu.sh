#!/usr/bin/env bash
# CPU share of one core that the game uses while it idles in the menus, over
# 10 seconds in a real X server, at a window scale of 1 (default), 2 or 3
# (the screen is made the size on which the window opens at that scale).
#   bench/menu_idle_cpu.sh GAME_FOLDER [SCALE]
set -euo pipefail
scale=${2:-1}
case "$scale" in
    1) screen=1024x768 ;;
    2) screen=1920x1080 ;;
    3) screen=2560x1440 ;;
    *) echo "scale must be 1, 2 or 3" >&2; exit 2 ;;
esac
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 ${screen}x24" bash "$0" "$@"; fi
game=$(mktemp -d /tmp/dorvik-idle-XXXXXX)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$game"' EXIT
cp -a "$1"/. "$game"/
rm -f "$game/OtherFiles/Window.txt"
(cd "$game" && SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy exec ./Dorvik) > /dev/null 2>&1 &
pid=$!
sleep 4  # start-up and the first map generation
wid=$(xdotool search --name "^Dorvik" | head -n 1)
size=$(xdotool getwindowgeometry "$wid" | awk '/Geometry/ { print $2 }')
xdotool mousemove --window "$wid" $((150 * scale)) $((150 * scale))
t0=$(awk '{print $14 + $15}' "/proc/$pid/stat")
sleep 10
t1=$(awk '{print $14 + $15}' "/proc/$pid/stat")
awk -v t="$((t1 - t0))" -v hz="$(getconf CLK_TCK)" -v s="$size" -v n="$scale" \
    'BEGIN { printf "menus idle at %dx (window %s): %.1f %% of one core over 10 s\n", n, s, t / hz / 10 * 100 }'
