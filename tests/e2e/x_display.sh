# Sourced by the scripts that run the real game under a virtual X display: how they skip and
# fail, and the display itself. The caller sets $work, its work directory.
skip() {
    echo "skipped: $*"
    exit 77
}
fail() {
    echo "FAILED: $*"
    [ -f "$work/game.log" ] && sed 's/^/game: /' "$work/game.log"
    exit 1
}

xvfb_pid=""
game_pid=""
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
}

# Starts Xvfb with a screen of SIZE (e.g. 1366x768) and exports its DISPLAY; the display and
# the game ($game_pid) are stopped when the script ends.
start_x() {
    trap cleanup EXIT
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    DISPLAY=":$(head -n 1 "$work/display")"
    export DISPLAY
}
