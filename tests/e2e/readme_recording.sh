#!/usr/bin/env bash
# README's "Recording a game" word for word (BIN_DIR as build/bin; SCREEN_PROBE, WORK_DIR):
# each program is one ./play.sh builds; a game recorded (menu, Esc, Enter), replayed and played
# back ends with 0 each time.
# shellcheck disable=SC2086,SC2016 # the README's commands run split into words; ` is no quote
set -u
work=$3 readme=$(dirname "${BASH_SOURCE[0]}")/../../README.md
source "$(dirname "${BASH_SOURCE[0]}")/x_display.sh"
[ -x "$1/cellstorm-replay" ] || skip "the game is not built"
need Xvfb xdotool import
bin=$(realpath "$1") probe=$(realpath "$2") play=$(grep -- '--target' "${readme%/*}/play.sh")
mapfile -t commands < <(sed -n '/^## Recording a game$/,/^## /p' "$readme" |
    grep -Eo 'build/bin/cellstorm[^`#]*[^`# ]')
[ "${#commands[@]}" -eq 3 ] || fail "not the README's three commands: ${commands[*]}"
for command in "${commands[@]}"; do
    [[ " $play " == *" $(basename "${command%% *}") "* ]] || fail "./play.sh builds no $command"
done
rm -rf "$work" && mkdir -p "$work/build" && cd "$work" && ln -s "$bin" build/bin
export XDG_CONFIG_HOME=$work/config
start_x 1366x768
shows() { "$probe" match current.ppm "$bin/$1" "${@:2}"; }
leave_closing() { # the closing picture reads no key for a second; a loaded machine may lose one
    wait_for closing 60 shows CSTRAIL8.BMP
    xdotool sleep 1.5 key Escape sleep 3
    alive && xdotool key Escape
    wait_exit 10
}
start_game ${commands[0]}
wait_for menu 30 shows CSCON8.BMP 96,108,52,336 300,169,340,217
xdotool key --delay 300 Escape Return
leave_closing
${commands[2]} >replay.log 2>&1 || fail "${commands[2]}: exit code $?: $(cat replay.log)"
start_game ${commands[1]}
leave_closing
