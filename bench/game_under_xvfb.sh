#!/usr/bin/env bash
# The real game under Xvfb (software rendering, no GPU), measured from outside: start to the
# title picture, then in the menu, in play, in the pause and on the closing picture the share of
# one core, the wake-ups a second of all its threads, and in play the resident memory and the
# lengths of frames (the gaps between presents). Sound goes to SDL's disk driver.
#   bench/game_under_xvfb.sh BIN_DIR [SCREEN] [SECONDS]    default 1920x1080, 10
set -u
bin=$(realpath "$1")
seconds=${3:-10}
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
source "$here/../tests/e2e/x_display.sh"
need Xvfb xdotool cc
start_x "${2:-1920x1080}"
export XDG_CONFIG_HOME=$work/config
cc -shared -fPIC -O2 -o "$work/present_times.so" "$here/present_times.c" -ldl || fail "no shim"

started=$(date +%s%N)
PRESENT_TIMES=$work/presents LD_PRELOAD=$work/present_times.so SDL_AUDIODRIVER=disk \
    SDL_DISKAUDIOFILE=/dev/null "$bin/cellstorm" >"$work/game.log" 2>&1 &
game_pid=$!

# Nanoseconds on a processor, all threads.
run_ns() { cat /proc/"$game_pid"/task/*/schedstat 2>/dev/null | awk '{ n += $1 } END { print n }'; }
switches() {
    cat /proc/"$game_pid"/task/*/status 2>/dev/null |
        awk '/^(non)?voluntary_ctxt_switches/ { n += $2 } END { print n }'
}
# Share of one core and wake-ups a second over the next $seconds, as "CPU WAKEUPS".
measure() {
    local t0 s0 t1 s1
    t0=$(run_ns) s0=$(switches)
    sleep "$seconds"
    t1=$(run_ns) s1=$(switches)
    awk -v t="$((t1 - t0))" -v s="$((s1 - s0))" -v d="$seconds" \
        'BEGIN { printf "%.2f %% of a core, %.0f wake-ups/s", t * 100 / (1e9 * d), s / d }'
}
# Median and 95th percentile (ms) of the gaps between presents after line $1 of the log.
gaps() {
    tail -n +"$1" "$work/presents" | awk 'NR > 1 { print ($1 - p) / 1e6 } { p = $1 }' | sort -n |
        awk '{ v[NR] = $1 } END { if (NR) printf "median %.2f ms, p95 %.2f ms over %d frames",
             v[int((NR + 1) / 2)], v[int(NR * 0.95 + 0.5)], NR }'
}

sleep 5
# The title is the first present followed by its hold of two seconds.
awk -v s="$started" 'NR > 1 && $1 - p > 1.5e9 { printf "start to title: %.0f ms\n", (p - s) / 1e6;
    exit } { p = $1 }' "$work/presents"
echo "menu: $(measure)"
xdotool key Return
sleep 2
from=$(wc -l <"$work/presents")
echo "play: $(measure)"
echo "play frames: $(gaps "$from")"
echo "play RSS: $(awk '/^VmRSS/ { printf "%.1f MiB", $2 / 1024 }' "/proc/$game_pid/status")"
xdotool key p
sleep 1
echo "pause: $(measure)"
xdotool key p
sleep 1
xdotool key Escape
sleep 2
# The cursor stops at the last item, the exit.
for _ in $(seq 8); do
    xdotool key Down
    sleep 0.4
done
xdotool key Return
sleep 3
echo "closing picture: $(measure)"
xdotool key Escape
wait_exit 10 >/dev/null
rm -rf "$work"
