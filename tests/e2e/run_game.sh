#!/usr/bin/env bash
# The real game under a virtual X display of 1366 x 768, where the picture fits at 1024 x 768
# with bars: keys by xdotool, screenshots checked at known pixels against the game's pictures.
#   run_game.sh walkthrough|window BIN_DIR SCREEN_PROBE WORK_DIR
set -u
mode=$1 bin=$2 probe=$3 work=$4
source "$(dirname "${BASH_SOURCE[0]}")/x_display.sh"

[ -x "$bin/cellstorm" ] && [ -f "$bin/CSTRAIL8.BMP" ] || skip "the game or its data is not built"
need Xvfb xdotool import
bin=$(cd "$bin" && pwd)
probe=$(realpath "$probe")
mkdir -p "$work"
cd "$work" || fail "no work directory"
rm -rf ./*.ppm ./*.log display config
start_x 1366x768

# Started away from its data, which it finds beside itself; its settings in the work directory.
export XDG_CONFIG_HOME=$work/config
settings=$XDG_CONFIG_HOME/cellstorm/cellstorm.ini
tap() { xdotool key "$@"; }
# A key held for SECONDS, as a person presses it.
hold() { xdotool keydown "$1" sleep "$2" keyup "$1"; }
# CHECK still holds a second later.
stays() {
    sleep 1
    shot
    "${@:2}" >/dev/null || fail "$1 did not stay"
}

# Where text and moving things are drawn: left out when a screen is compared with its picture.
play_text="30,14,292,420 428,76,212,24 426,146,214,24 434,210,206,24 416,276,224,24 \
526,300,74,74 0,458,300,22 444,428,196,24"
shows() { "$probe" match current.ppm "$bin/$1" "${@:2}"; }
# shellcheck disable=SC2086
is_play() { shows lv1DS8.BMP $play_text; }
is_menu_at() {
    shows CSCON8.BMP 96,108,52,336 300,169,340,217 &&
        [ "$("$probe" selected current.ppm "$bin/XCNBUT8.BMP" "$bin/CSCON8.BMP")" = "$1" ]
}
# How many pixels are unlike the picture where the pause text, or the game-type value's end, is
# drawn: "(Dorodo Veraviva!)" reaches well past where "(Classic)" ends.
pause_text() { test "$("$probe" differs current.ppm "$bin/lv1DS8.BMP" 444 428 196 24)" "$@"; }
long_value() { test "$("$probe" differs current.ppm "$bin/CSCON8.BMP" 545 218 50 20)" "$@"; }

# Moves the menu cursor to an item, looking at the screen after every step.
menu_to() {
    local at
    for _ in $(seq 15); do
        shot
        at=$("$probe" selected current.ppm "$bin/XCNBUT8.BMP" "$bin/CSCON8.BMP")
        [ "$at" = "$1" ] && return 0
        [ "$at" -ge 0 ] && tap "$([ "$at" -lt "$1" ] && echo Down || echo Up)"
        sleep 0.3
    done
    fail "the menu cursor did not reach item $1"
}
# The closing picture is held for a second before the keys are read, and a tap before that is
# forgotten: on a loaded machine the hold can outlast the pause, and a second press ends it.
leave_closing() {
    sleep 1.5
    tap Escape
    for _ in $(seq 40); do alive && sleep 0.1; done
    alive && shot && shows CSTRAIL8.BMP >/dev/null && tap Escape
    wait_exit 10
}

if [ "$mode" = walkthrough ]; then
    # Played back from a script: title, menu, a setting, a new game whose first piece, pushed by
    # the joystick, clears a row. Then the player's keys: moves and turns, pause, the menu and
    # back, the game type changed, exit, the closing screen. All recorded; the recording replayed
    # by cellstorm-replay, and played back, ends as the game did.
    end_state() { grep '^# end ' "$1" | sed 's/^# end //; s#/##g'; }
    titled() { xdotool search --name "^$1\$"; }
    # Seed 1, a Classic game on playfield 7.
    printf -- '%s\n' '# seed 1' '# joystick 32768 32768' - down '6*right' up enter '2*-' \
        '70*- jy=65535' >start.txt
    start_game "$bin/cellstorm" --playback start.txt --record first.txt
    wait_for playback_title 15 titled "CELLSTORM [(]playback[)]"
    wait_for title 15 shows CSSPL8.BMP
    wait_for play 20 is_play
    wait_for own_title 20 titled CELLSTORM
    tap --delay 150 Left Left a s Right
    xdotool keydown Down sleep 0.4 keyup Down
    wait_for play_moved 3 is_play
    [ "$("$probe" differs current.ppm play.ppm 30 14 292 420)" -gt 0 ] || fail "nothing moved"
    # P and Esc held as people hold them: each press acts once, and what it did stays.
    hold p 0.2
    wait_for paused 3 pause_text -gt 30
    stays "the pause" pause_text -gt 30
    hold p 0.12
    wait_for resumed 3 pause_text -eq 0
    stays "the resumed play" pause_text -eq 0
    hold Escape 0.12
    wait_for menu_from_play 5 is_menu_at 0
    stays "the menu" is_menu_at 0
    hold Escape 0.2
    wait_for play_resumed 5 is_play
    stays "the play screen" is_play
    # Another window takes the focus: the game pauses, and stays paused when it is back.
    xmessage -geometry +0+0 elsewhere &
    other=$(timeout 10 xdotool search --sync --name '^xmessage$' | head -n 1)
    game_window=$(xdotool search --name '^CELLSTORM$' | head -n 1)
    xdotool windowfocus --sync "$other"
    wait_for paused_by_focus 3 pause_text -gt 30
    xdotool windowfocus --sync "$game_window"
    kill %xmessage
    stays "the pause after the focus came back" pause_text -gt 30
    hold p 0.12
    wait_for resumed_after_focus 3 pause_text -eq 0
    tap Escape
    wait_for menu_again 5 is_menu_at 0
    menu_to 2
    wait_for menu_classic 3 long_value -eq 0
    tap Right
    wait_for menu_game_type_changed 3 long_value -gt 20
    menu_to 6
    tap Return
    wait_for closing 10 shows CSTRAIL8.BMP
    leave_closing
    first=$(end_state first.txt)
    grep -q '^70[*]- jy=65535$' first.txt || fail "the joystick was not recorded: $(head first.txt)"
    case "$first" in *" lines=0 "* | "") fail "no rows cleared in the recording: $first" ;; esac

    "$bin/cellstorm-replay" --data "$bin" --input first.txt --trace replay.jsonl >out.log 2>&1 ||
        fail "the replay of the recording: $(cat out.log)"
    # The same fields of the replay's last trace line.
    replayed=$(tail -n 1 replay.jsonl | /usr/bin/python3 -c 'import json, sys
t = json.load(sys.stdin)
print("polls={poll} score={score} lines={lines} level={level} well=".format(**t) + "".join(t["well"]))')
    [ "$replayed" = "$first" ] || fail "the replay ends as '$replayed', the game as '$first'"
    echo "replayed: $first"

    # Played back (and recorded again): the same end; then the player's key leaves the closing
    # screen.
    start_game "$bin/cellstorm" --playback first.txt --record second.txt
    wait_for playback_title_again 15 titled "CELLSTORM [(]playback[)]"
    wait_for closing_played_back 120 shows CSTRAIL8.BMP
    leave_closing
    second=$(end_state second.txt)
    [ "$second" = "$first" ] || fail "the playback ends as '$second', the game as '$first'"
    echo "played back: $second"
    grep -q '^# CELLSTORM settings' "$settings" || fail "no settings file made at the first run"
    exit 0
fi
[ "$mode" = window ] || fail "unknown run $mode"

# --window --scale integer shows a window of whole steps; Alt+Enter makes it full screen; the
# settings file binds turn-clockwise to D: the recording shows D read as the turn key, S not;
# Alt+F4 in play ends the game with 0, and the file then holds Alt+Enter's change.
mkdir -p "$(dirname "$settings")"
printf '[display]\nfullscreen = no\n[keys]\nturn_clockwise = D\n' >"$settings"
start_game "$bin/cellstorm" --window --scale integer --record keys.txt
# Found by its title once it is shown (a screenshot of a hidden window never comes back).
shot_of=$(timeout 10 xdotool search --sync --onlyvisible --name '^CELLSTORM$' | head -n 1)
[ -n "$shot_of" ] || fail "no window named CELLSTORM"
export PROBE_SCALE=integer
wait_for menu_in_window 20 is_menu_at 0
size() { xdotool getwindowgeometry "$shot_of" | awk '/Geometry/ { print $2 }'; }
[ "$(size)" = 640x480 ] || fail "the window is $(size), not 640x480"
tap alt+Return
sleep 1
[ "$(size)" = 1366x768 ] || fail "Alt+Enter left the window at $(size)"
# Full screen in whole steps: the picture at 1x in the middle of the screen.
shot_of=root
wait_for menu_full_screen 5 is_menu_at 0
tap Return
wait_for play 5 is_play
# The recording is written every second; a tap is read in a poll or two, then let go.
turns() { grep -cE '(^|[* ])s( |$)' keys.txt; }
tap d
sleep 1.5
[ "$(turns)" -eq 1 ] || fail "D did not turn once: $(tail -n 4 keys.txt)"
tap s
sleep 1.5
[ "$(turns)" -eq 1 ] || fail "S still turns: $(tail -n 4 keys.txt)"
grep -v '^#' keys.txt | tail -n 1 | grep -q -- '-$' || fail "a key is held: $(tail -n 4 keys.txt)"
tap alt+F4
wait_exit 5
grep -q '^fullscreen = yes' "$settings" || fail "Alt+Enter was not written back: $(cat "$settings")"
grep -q '^scale' "$settings" && fail "the --scale option was written back: $(cat "$settings")"
grep -q '^turn_clockwise = D' "$settings" || fail "the player's binding was lost"
