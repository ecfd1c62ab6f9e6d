#!/usr/bin/env bash
# The frame clock benchmark with the game's window open on a virtual display, so its waits are
# the window's. Give several builds to compare them in turns, in one run.
#   bench/frame_clock_under_xvfb.sh BUILD_DIR... [-- ROUNDS]     default 2 rounds
set -u
builds=() rounds=2
while (($#)); do
    [ "$1" = -- ] && { rounds=$2; break; }
    builds+=("$(realpath "$1")")
    shift
done
work=$(mktemp -d)
source "$(dirname "$0")/../tests/e2e/x_display.sh"
need Xvfb
start_x 1024x768
export XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy
for round in $(seq "$rounds"); do
    for build in "${builds[@]}"; do
        echo "== round $round: $build"
        "$build/bench/sdl2_clock/cellstorm_bench_clock" 2>/dev/null | grep '^BM_'
    done
done
rm -rf "$work"
