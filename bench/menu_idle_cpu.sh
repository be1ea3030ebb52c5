#!/usr/bin/env bash
# CPU share of one core that the game uses while it idles in the menus, over
# 10 seconds in a real X server.   bench/menu_idle_cpu.sh GAME_FOLDER
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"; fi
game=$(mktemp -d /tmp/dorvik-idle-XXXXXX)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$game"' EXIT
cp -a "$1"/. "$game"/
(cd "$game" && SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy exec ./Dorvik) > /dev/null 2>&1 &
pid=$!
sleep 4  # start-up and the first map generation
wid=$(xdotool search --name "^Dorvik" | head -n 1)
xdotool mousemove --window "$wid" 150 150
t0=$(awk '{print $14 + $15}' "/proc/$pid/stat")
sleep 10
t1=$(awk '{print $14 + $15}' "/proc/$pid/stat")
awk -v t="$((t1 - t0))" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "menus idle: %.1f %% of one core over 10 s\n", t / hz / 10 * 100 }'
