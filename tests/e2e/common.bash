# Shared pieces of the end-to-end tests: a private copy of the game folder, the
# game started in the X server that xvfb-run gives us, screenshots and pixels.
# Sourced by the test scripts, which run themselves under xvfb-run.

E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

fail() { echo "FAIL: $*" >&2; exit 1; }

# Copies the game folder to a temporary place so a run never dirties the build.
make_game_copy() {  # make_game_copy GAME_DIR -> sets GAME
    GAME=$(mktemp -d /tmp/dorvik-e2e-XXXXXX)
    cp -a "$1"/. "$GAME"/
    rm -f "$GAME"/Dorvik\ Pic*.jpg
    # The window opens at the scale that fits the test's screen, not one a
    # player chose in the build folder.
    rm -f "$GAME"/OtherFiles/Window.txt
    trap 'stop_game; rm -rf "$GAME"' EXIT
}

# Starts the game and waits for its window (sets GAME_PID and WID).
start_game() {
    (cd "$GAME" && SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy exec ./Dorvik) > "$GAME/run.log" 2>&1 &
    GAME_PID=$!
    WID=""
    for _ in $(seq 1 200); do  # a busy machine can take seconds
        WID=$(xdotool search --name "^Dorvik" 2>/dev/null | head -n 1) || true
        [ -n "$WID" ] && break
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended at start: $(cat "$GAME/run.log")"
        sleep 0.1
    done
    [ -n "$WID" ] || fail "no game window appeared"
}

stop_game() {
    if [ -n "${GAME_PID:-}" ] && kill -0 "$GAME_PID" 2>/dev/null; then
        kill "$GAME_PID" 2>/dev/null || true
        for _ in $(seq 1 30); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$GAME_PID" 2>/dev/null || true
        wait "$GAME_PID" 2>/dev/null || true
    fi
}

# Waits for the game to end and checks its exit status.
expect_exit() {  # expect_exit STATUS SECONDS
    for _ in $(seq 1 $(( $2 * 10 ))); do
        kill -0 "$GAME_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$GAME_PID" 2>/dev/null && fail "the game did not end"
    local status=0
    wait "$GAME_PID" || status=$?
    GAME_PID=""
    [ "$status" -eq "$1" ] || fail "exit status $status, expected $1: $(cat "$GAME/run.log")"
}

# The window's size as "W H".
window_size() { xdotool getwindowgeometry "$WID" | awk '/Geometry/ { split($2, a, "x"); print a[1], a[2] }'; }

# A screenshot of the game window (client area).
shot() { import -window "$WID" "$1" 2>/dev/null || fail "screenshot failed"; }

# Mouse in client coordinates of the window.
mouse_to() { xdotool mousemove --window "$WID" "$1" "$2"; }
click_at() { mouse_to "$1" "$2"; sleep 0.15; xdotool mousedown 1; sleep 0.12; xdotool mouseup 1; }
# Holds a key long enough for the keyboard poll to see it.
hold_key() { xdotool keydown "$1"; sleep "${2:-0.15}"; xdotool keyup "$1"; }

# pixels.py answers questions about screenshots.
px() { /usr/bin/python3 "$E2E_DIR/pixels.py" "$@"; }
