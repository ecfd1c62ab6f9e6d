# Sourced by the scripts that run the real game: how they skip and fail, a virtual X display,
# and the game in it. The caller sets $work, its work directory.
skip() {
    echo "skipped: $*"
    exit 77
}
fail() {
    echo "FAILED: $*"
    [ -f "$work/game.log" ] && sed 's/^/game: /' "$work/game.log"
    exit 1
}
need() {
    for tool; do command -v "$tool" >/dev/null || skip "$tool is not installed"; done
}

# Xvfb with a screen of SIZE (e.g. 1366x768) as DISPLAY; it and the game end with the script.
start_x() {
    trap '[ -n "$game_pid" ] && kill $game_pid; kill $xvfb_pid' EXIT
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=":$(head -n 1 "$work/display")"
}

game_pid=""
start_game() {
    SDL_AUDIODRIVER=dummy "$@" >"$work/game.log" 2>&1 &
    game_pid=$!
}
alive() { kill -0 "$game_pid" 2>/dev/null; }

# Waits up to SECONDS for the game to end, and wants exit code 0.
wait_exit() {
    for _ in $(seq $(($1 * 10))); do alive && sleep 0.1; done
    alive && fail "the game is still running $1 s after it was told to end"
    wait "$game_pid" || fail "exit code $?"
    game_pid=""
    echo "exit code 0"
}

# The whole screen, or the window $shot_of, as current.ppm.
shot_of=root
shot() { timeout 20 import -window "$shot_of" -depth 8 "ppm:$work/current.ppm"; }

# Takes screenshots until CHECK passes, within LIMIT seconds, and keeps that one as NAME.ppm.
#   wait_for NAME LIMIT CHECK...
wait_for() {
    local name=$1 deadline=$((SECONDS + $2))
    shift 2
    while :; do
        alive || fail "the game ended while waiting for: $name"
        shot
        if "$@" >"$work/probe.log" 2>&1; then
            cp "$work/current.ppm" "$work/$name.ppm"
            echo "seen: $name"
            return 0
        fi
        if [ "$SECONDS" -ge "$deadline" ]; then
            cp "$work/current.ppm" "$work/$name-not-seen.ppm"
            fail "$name not seen in time ($(tr '\n' ' ' <"$work/probe.log"))"
        fi
        sleep 0.2
    done
}
