#!/usr/bin/env bash
# Installed like other games: cmake --install into a fresh prefix, the installed
# dorvik started by an ordinary user with an empty home on a 1080p desktop,
# a short game with a screenshot, and afterwards everything the game wrote is in
# the player's data folder and nothing new is in the prefix.
# Argument: the game folder of a build (its parent is the build folder).
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1920x1080x24" bash "$0" "$@"; fi
source "$(dirname "$0")/common.bash"
BUILD=$(cd "$1/.." && pwd)

GAME=$(mktemp -d /tmp/dorvik-install-XXXXXX)  # logs and shots; the prefix and home inside
trap 'stop_game; rm -rf "$GAME"' EXIT
chmod 755 "$GAME"
PREFIX=$GAME/prefix
PLAYER_HOME=$GAME/home
mkdir -p "$PLAYER_HOME"
cmake --install "$BUILD" --prefix "$PREFIX" > "$GAME/install.log" || fail "install: $(cat "$GAME/install.log")"
chmod -R a+rX "$PREFIX"  # whatever the umask of the machine running the test
[ -x "$PREFIX/bin/dorvik" ] || fail "no $PREFIX/bin/dorvik"
[ -d "$PREFIX/share/dorvik/Pictures" ] || fail "no shipped files in $PREFIX/share/dorvik"

# The options as any player would use them.
"$PREFIX/bin/dorvik" --version | grep -q "1.22" || fail "--version"
"$PREFIX/bin/dorvik" --help > /dev/null || fail "--help"
status=0
"$PREFIX/bin/dorvik" --fullscreen > /dev/null 2> "$GAME/usage.txt" || status=$?
[ "$status" -eq 2 ] && grep -q "usage:" "$GAME/usage.txt" || fail "unknown argument: status $status"

# An ordinary user when we are root (as in CI), who may read the X cookie.
AS=()
if [ "$(id -u)" -eq 0 ]; then
    AS=(runuser -u nobody --)
    chown nobody: "$PLAYER_HOME"
fi
if [ -n "${XAUTHORITY:-}" ]; then
    cp "$XAUTHORITY" "$PLAYER_HOME/.Xauthority"
    [ "$(id -u)" -eq 0 ] && chown nobody: "$PLAYER_HOME/.Xauthority"
fi
listing() { find "$PREFIX" -printf '%p %s %m %T@\n' | sort; }
listing > "$GAME/prefix.before"

(cd "$PLAYER_HOME" && exec "${AS[@]}" env -u XDG_DATA_HOME HOME="$PLAYER_HOME" \
    XAUTHORITY="$PLAYER_HOME/.Xauthority" DISPLAY="$DISPLAY" SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy \
    "$PREFIX/bin/dorvik") > "$GAME/run.log" 2>&1 &
GAME_PID=$!
WID=""
for _ in $(seq 1 100); do
    WID=$(xdotool search --name "^Dorvik" 2> /dev/null | head -n 1) || true
    [ -n "$WID" ] && break
    kill -0 "$GAME_PID" 2> /dev/null || fail "the game ended at start: $(cat "$GAME/run.log")"
    sleep 0.1
done
[ -n "$WID" ] || fail "no game window appeared"
alive() { kill -0 "$GAME_PID" 2> /dev/null || fail "the game ended unexpectedly: $(cat "$GAME/run.log")"; }

DATA=$PLAYER_HOME/.local/share/dorvik
# The first start makes the maps in the data folder, then loads the pictures.
for _ in $(seq 1 300); do
    [ "$(sed -n 12p "$DATA/OtherFiles/Options.txt" 2> /dev/null | tr -d ' \r')" = 1 ] && break
    alive
    sleep 0.1
done
[ -f "$DATA/Pictures/Map04.bmp" ] || fail "no maps generated in $DATA"

# A 1080p desktop gets the picture at twice its size.
eval "$(xdotool getwindowgeometry --shell "$WID")"
echo "window: ${WIDTH}x${HEIGHT}"
size_ok=yes
[ "$WIDTH" -ge 600 ] && [ "$HEIGHT" -ge 758 ] || size_ok=no

# Enter starts a game: most of the window changes from the menu to the field.
sleep 1.5
shot "$GAME/menu.png"
started=no
for _ in 1 2 3 4 5; do
    hold_key Return 0.2
    sleep 0.8
    alive
    shot "$GAME/game.png"
    d=$(px diff "$GAME/menu.png" "$GAME/game.png" 0 0 "$WIDTH" $((HEIGHT * 3 / 4)))
    if awk "BEGIN{exit !($d > 0.3)}"; then started=yes; break; fi
done
[ "$started" = yes ] || fail "Enter started no game"

# Fire a few shots upwards, take a screenshot, pause and quit.
mouse_to $((WIDTH / 2)) $((HEIGHT / 10))
xdotool mousedown 1
sleep 0.6
xdotool mouseup 1
hold_key Insert 0.1
hold_key Escape
sleep 0.5
alive
hold_key x
sleep 1
if kill -0 "$GAME_PID" 2> /dev/null; then
    # Killed meanwhile: the score table asks for a name first.
    hold_key Return 0.2
    sleep 0.5
    hold_key x
fi
expect_exit 0 10

for f in "OtherFiles/Options.txt" "AtopDv118.dvk" "Pictures/Map01.bmp" "Pictures/Map02.bmp" \
    "Pictures/Map03.bmp" "Pictures/Map04.bmp" "Dorvik Pic1.jpg"; do
    [ -s "$DATA/$f" ] || fail "no $f in $DATA: $(cd "$DATA" && find . -type f)"
done
if [ "$(id -u)" -eq 0 ]; then
    [ -z "$(find "$DATA" ! -user nobody)" ] || fail "files in $DATA not owned by the player"
fi
listing > "$GAME/prefix.after"
diff "$GAME/prefix.before" "$GAME/prefix.after" > /dev/null ||
    fail "the game changed the prefix: $(diff "$GAME/prefix.before" "$GAME/prefix.after")"

[ "$size_ok" = yes ] || fail "the window is ${WIDTH}x${HEIGHT} on a 1920x1080 desktop, expected at least 600x758"
echo "install: ok"
