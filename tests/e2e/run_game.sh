#!/usr/bin/env bash
# The real game under a virtual X display of 1366 x 768, where the picture fits at 1024 x 768
# with bars: keys by xdotool, screenshots checked at known pixels against the game's pictures.
#   run_game.sh walkthrough|record|window BIN_DIR SCREEN_PROBE WORK_DIR
# walkthrough: title, menu, settings, new game, moves, pause, menu and back, exit, closing screen.
# record: a short playback (a row cleared) goes on with the player's keys, all recorded; the
# recording replayed by cellstorm-replay, and played back, ends as the game did.
# window: --window --scale integer shows a window of whole steps; Alt+Enter makes it full
# screen; the settings file binds turn-clockwise to D: D turns the piece, S no longer does;
# Alt+F4 in play ends the game with 0, and the file then holds Alt+Enter's change.
set -u
mode=$1 bin=$2 probe=$3 work=$4
source "$(dirname "${BASH_SOURCE[0]}")/x_display.sh"

[ -x "$bin/cellstorm" ] && [ -f "$bin/CSTRAIL8.BMP" ] || skip "the game or its data is not built"
[ -x "$probe" ] || skip "screen_probe is not built"
need Xvfb xdotool import convert
bin=$(cd "$bin" && pwd)
probe=$(realpath "$probe")
mkdir -p "$work"
cd "$work" || fail "no work directory"
rm -rf ./*.png ./*.ppm ./*.log display config
start_x 1366x768

# Started away from its data: the game finds its files beside itself. The settings file lives
# in the work directory, never in the home of whoever runs the tests.
export XDG_CONFIG_HOME=$work/config
settings=$XDG_CONFIG_HOME/cellstorm/cellstorm.ini
tap() { xdotool key "$1"; }
hold() {
    xdotool keydown "$1"
    sleep "$2"
    xdotool keyup "$1"
}

# Where text and moving things are drawn: left out when a screen is compared with its picture.
MENU_TEXT="96,108,52,336 300,169,340,26 300,216,340,26 300,264,340,26 300,312,340,26 300,360,340,26"
PLAY_TEXT="30,14,292,420 428,76,212,24 426,146,214,24 434,210,206,24 416,276,224,24 \
526,300,74,74 0,458,300,22 444,428,196,24"
is_title() { "$probe" match current.ppm "$bin/CSSPL8.BMP"; }
is_closing() { "$probe" match current.ppm "$bin/CSTRAIL8.BMP"; }
# shellcheck disable=SC2086
is_play() { "$probe" match current.ppm "$bin/lv1DS8.BMP" $PLAY_TEXT; }
# shellcheck disable=SC2086
is_menu() { "$probe" match current.ppm "$bin/CSCON8.BMP" $MENU_TEXT; }
selected_item() { "$probe" selected current.ppm "$bin/XCNBUT8.BMP" "$bin/CSCON8.BMP"; }
is_menu_at() { is_menu && [ "$(selected_item)" = "$1" ]; }
count_unlike() { "$probe" differs current.ppm "$@"; }
# The game-type value: "(Dorodo Veraviva!)" reaches well past where "(Classic)" ends.
long_game_type() { [ "$(count_unlike "$bin/CSCON8.BMP" 545 218 50 20)" -gt 20 ]; }
short_game_type() { is_menu_at 2 && [ "$(count_unlike "$bin/CSCON8.BMP" 545 218 50 20)" -eq 0 ]; }
pause_text() { [ "$(count_unlike "$bin/lv1DS8.BMP" 444 428 196 24)" -gt 30 ]; }
no_pause_text() { is_play && [ "$(count_unlike "$bin/lv1DS8.BMP" 444 428 196 24)" -eq 0 ]; }

# Moves the menu cursor to an item, looking at the screen after every step.
menu_to() {
    local at
    for _ in $(seq 15); do
        shot
        at=$(selected_item)
        [ "$at" = "$1" ] && return 0
        if [ "$at" -ge 0 ] && [ "$at" -lt "$1" ]; then
            tap Down
        elif [ "$at" -gt "$1" ]; then
            tap Up
        fi
        sleep 0.3
    done
    fail "the menu cursor did not reach item $1"
}
# The closing picture is held for a second before the keys are read; a tap before that is
# forgotten, as it would be by a player's keyboard. On a loaded machine the hold can outlast the
# pause and swallow the tap: then the picture is still up, and a second press ends it.
leave_closing() {
    sleep 1.5
    tap Escape
    for _ in $(seq 40); do
        alive || break
        sleep 0.1
    done
    if alive; then
        shot
        is_closing >/dev/null && tap Escape
    fi
    wait_exit 10
}
exit_from_menu() {
    menu_to 6
    tap Return
    wait_for closing 10 is_closing
    leave_closing
}

if [ "$mode" = record ]; then
    # The "end" comment of a recording.
    end_state() { grep '^# end ' "$1" | sed 's/^# end //; s#/##g'; }
    titled() { xdotool search --name "^$1\$"; }

    # Seed 1, a Classic game on playfield 7: the first piece dropped clears the bottom row.
    printf -- '# seed 1\n-\ndown\n6*right\nup\nenter\n2*-\n70*down\n' >start.txt
    start_game "$bin/cellstorm" --playback start.txt --record first.txt
    wait_for playback_title 15 titled "CELLSTORM [(]playback[)]"
    wait_for play 20 is_play
    wait_for own_title 20 titled CELLSTORM
    # Written as the game goes: the played-back part is in the file within a second.
    sleep 1.5
    grep -q '^70[*]down$' first.txt || fail "the recording so far: $(cat first.txt)"
    tap Escape
    wait_for menu_from_play 5 is_menu_at 0
    exit_from_menu
    first=$(end_state first.txt)
    [ "$(grep -c -e '^# seed 1$' -e '^# joystick none$' first.txt)" -eq 2 ] ||
        fail "recording header: $(head -n 4 first.txt)"
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
    wait_for closing_played_back 90 is_closing
    leave_closing
    second=$(end_state second.txt)
    [ "$second" = "$first" ] || fail "the playback ends as '$second', the game as '$first'"
    echo "played back: $second"
    exit 0
fi

if [ "$mode" = window ]; then
    mkdir -p "$(dirname "$settings")"
    printf '[keys]\nturn_clockwise = D\n' >"$settings"
    start_game "$bin/cellstorm" --window --scale integer
    # Found by its title once it is shown (a screenshot of a hidden window never comes back).
    for _ in $(seq 100); do
        shot_of=$(xdotool search --onlyvisible --name '^CELLSTORM$' 2>/dev/null | head -n 1)
        [ -n "$shot_of" ] && break
        sleep 0.1
    done
    [ -n "$shot_of" ] || fail "no window named CELLSTORM"
    export PROBE_SCALE=integer
else
    start_game "$bin/cellstorm"
fi
wait_for title 15 is_title
wait_for menu 20 is_menu_at 0

if [ "$mode" = walkthrough ]; then
    menu_to 2
    wait_for menu_classic 3 short_game_type
    tap Right
    wait_for menu_game_type_changed 3 long_game_type
    menu_to 4
    tap Left
    menu_to 0
    tap Return
    wait_for play 5 is_play
    for key in Left Left a s Right; do
        tap "$key"
        sleep 0.15
    done
    hold Down 0.4
    wait_for play_moved 3 is_play
    [ "$(count_unlike play.ppm 30 14 292 420)" -gt 0 ] || fail "nothing moved in the well"
    tap p
    wait_for paused 3 pause_text
    sleep 0.5
    shot
    [ "$(count_unlike paused.ppm 30 14 292 420)" -eq 0 ] || fail "the well moved while paused"
    tap p
    wait_for resumed 3 no_pause_text
    tap Escape
    wait_for menu_from_play 5 is_menu_at 0
    tap Escape
    wait_for play_resumed 5 is_play
    sleep 1
    shot
    is_play >/dev/null || fail "resumed play did not stay on the play screen"
    tap Escape
    wait_for menu_again 5 is_menu_at 0
    exit_from_menu
    exit 0
fi
[ "$mode" = window ] || fail "unknown run $mode"

size=$(xdotool getwindowgeometry "$shot_of" | awk '/Geometry/ { print $2 }')
[ "$size" = 640x480 ] || fail "the window is $size, not 640x480"
keep window
grep -q '^fullscreen = no' "$settings" && fail "the option was written to the file"
tap alt+Return
sleep 1
size=$(xdotool getwindowgeometry "$shot_of" | awk '/Geometry/ { print $2 }')
[ "$size" = 1366x768 ] || fail "Alt+Enter left the window at $size"
# Full screen in whole steps: the picture at 1x in the middle of the screen.
shot_of=root
wait_for menu_full_screen 5 is_menu_at 0
tap Return
wait_for play 5 is_play

# The falling piece's width and height in the upper 18 rows of the well (a dropped piece lies
# below them). A square piece looks the same turned: such a one is dropped, and the next tried.
piece_box() { "$probe" box current.ppm "$bin/lv1DS8.BMP" 48 14 254 288; }
turned=""
for _ in $(seq 6); do
    sleep 0.3
    shot
    read -r w h <<<"$(piece_box)"
    if [ "$w" -gt 0 ] && [ "$w" -ne "$h" ]; then
        tap s
        sleep 0.3
        shot
        keep turn_before
        [ "$(piece_box)" = "$w $h" ] || fail "S turned the piece ($w $h, then $(piece_box))"
        tap d
        sleep 0.3
        shot
        keep turn_after
        [ "$(piece_box)" = "$h $w" ] || fail "D did not turn the piece: $w $h, then $(piece_box)"
        turned=yes
        break
    fi
    hold Down 2
done
[ -n "$turned" ] || fail "no piece to turn was seen"
tap alt+F4
wait_exit 5
grep -q '^fullscreen = yes' "$settings" || fail "Alt+Enter was not written back: $(cat "$settings")"
grep -q '^scale = fit' "$settings" || fail "the --scale option was written back"
grep -q '^turn_clockwise = D' "$settings" || fail "the player's binding was lost"
