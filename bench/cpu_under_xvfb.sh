#!/usr/bin/env bash
# The processor time the real game takes under Xvfb (software rendering, no GPU) in the menu,
# in play and on the closing screen, as a share of one core.
#   bench/cpu_under_xvfb.sh BIN_DIR [SCREEN]     e.g. build/bin 2560x1440 (default 1920x1080)
set -u
bin=$(realpath "$1")
work=$(mktemp -d)
source "$(dirname "$0")/../tests/e2e/x_display.sh"
need Xvfb xdotool
start_x "${2:-1920x1080}"
export XDG_CONFIG_HOME=$work/config
start_game "$bin/cellstorm"

# The share of one core over the next SECONDS.
percent() {
    local before after
    before=$(awk '{ print $14 + $15 }' "/proc/$game_pid/stat")
    sleep "$1"
    after=$(awk '{ print $14 + $15 }' "/proc/$game_pid/stat")
    awk -v t="$((after - before))" -v hz="$(getconf CLK_TCK)" -v s="$1" \
        'BEGIN { printf "%.1f", t * 100 / (hz * s) }'
}
sleep 5
echo "menu: $(percent 10) % of one core"
xdotool key Return
sleep 2
echo "play: $(percent 10) % of one core"
xdotool key Escape
sleep 2
# The cursor stops at the last item, the exit.
for _ in $(seq 8); do
    xdotool key Down
    sleep 0.4
done
xdotool key Return
sleep 3
echo "closing screen: $(percent 10) % of one core"
xdotool key Escape
wait_exit 10
rm -rf "$work"
