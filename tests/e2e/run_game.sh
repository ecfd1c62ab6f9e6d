#!/usr/bin/env bash
# The real game under a virtual X display: keys by xdotool, screenshots by ImageMagick, each
# checked at known pixels against the game's own picture files.
#   run_game.sh walkthrough|alt_f4|record|window|rebind|cpu BIN_DIR SCREEN_PROBE WORK_DIR [GAME ARGS]
# walkthrough: title, menu, settings, new game, moves, pause, menu and back, exit, closing screen.
# alt_f4: closes the window in the middle of a game. Both want exit code 0.
# record: records a session that a short playback starts (a row cleared) and the player's keys
# go on with (the menu, the exit), replays the recording with cellstorm-replay and plays it back,
# each time checking the state after the last poll against the recording's own; then the
# command-line mistakes of recording and playback.
# window: --window --scale integer shows a window of whole steps; Alt+Enter makes it full
# screen, and that is what the settings file says after the game ends.
# rebind: a settings file binds turn-clockwise to D: D turns the piece, S no longer does.
# cpu: prints the processor time the game takes in the menu, in play and on the closing screen.
# The X screen is SCREEN (default 1366x768): the picture fits it at 1024 x 768 with bars.
set -u
mode=$1 bin=$2 probe=$3 work=$4
shift 4
game_args=("$@")
[ "$mode" = window ] && game_args+=(--window --scale integer)
screen=${SCREEN:-1366x768}

source "$(dirname "${BASH_SOURCE[0]}")/x_display.sh"

[ -x "$bin/cellstorm" ] || skip "the game is not built ($bin/cellstorm)"
for file in CSSPL8.BMP CSCON8.BMP XCNBUT8.BMP lv1BLK8.BMP lv1DS8.BMP CSTRAIL8.BMP playf1.xpf \
    DejaVuSans-Bold.ttf; do
    [ -f "$bin/$file" ] || skip "data file $file is not built"
done
for tool in Xvfb xdotool import convert; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done
[ -x "$probe" ] || skip "screen_probe is not built"
bin=$(cd "$bin" && pwd)
probe=$(cd "$(dirname "$probe")" && pwd)/$(basename "$probe")

mkdir -p "$work"
rm -rf "$work"/*.png "$work"/*.ppm "$work"/*.log "$work/display" "$work/config"
cd "$work" || fail "no work directory"

start_x "$screen"

# Started away from its data: the game finds its files beside itself.
# The settings file lives in the work directory, never in the home of whoever runs the tests.
export XDG_CONFIG_HOME=$work/config
settings=$XDG_CONFIG_HOME/cellstorm/cellstorm.ini
if [ "$mode" = rebind ]; then
    mkdir -p "$(dirname "$settings")"
    printf '[keys]\nturn_clockwise = D\n' >"$settings"
fi
start_game() {
    SDL_AUDIODRIVER=dummy "$bin/cellstorm" "$@" >"$work/game.log" 2>&1 &
    game_pid=$!
}

alive() { kill -0 "$game_pid" 2>/dev/null; }
# The whole screen; in the window run, the game's window alone.
shot_of=root
shot() { timeout 20 import -window "$shot_of" -depth 8 ppm:current.ppm; }
# Keeps the last screenshot as NAME.ppm and, for people, NAME.png.
keep() {
    cp current.ppm "$1.ppm"
    convert current.ppm "$1.png"
}
tap() { xdotool key "$1"; }
hold() {
    xdotool keydown "$1"
    sleep "$2"
    xdotool keyup "$1"
}

# Takes screenshots until the check passes and keeps that one as NAME.png.
wait_for() {
    local name=$1 limit=$2
    shift 2
    local deadline=$((SECONDS + limit))
    while :; do
        alive || fail "the game ended while waiting for: $name"
        shot
        if "$@" >probe.log 2>&1; then
            keep "$name"
            echo "seen: $name"
            return 0
        fi
        if [ "$SECONDS" -ge "$deadline" ]; then
            keep "$name-not-seen"
            fail "$name not seen within ${limit}s ($(tr '\n' ' ' <probe.log))"
        fi
        sleep 0.2
    done
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
    local target=$1 at
    for _ in $(seq 15); do
        shot
        at=$(selected_item)
        [ "$at" = "$target" ] && return 0
        if [ "$at" -ge 0 ] && [ "$at" -lt "$target" ]; then
            tap Down
        elif [ "$at" -gt "$target" ]; then
            tap Up
        fi
        sleep 0.3
    done
    fail "the menu cursor did not reach item $target"
}

wait_exit() {
    for _ in $(seq $(($1 * 10))); do
        alive || break
        sleep 0.1
    done
    alive && fail "the game is still running $1 s after it was told to end"
    wait "$game_pid"
    local code=$?
    game_pid=""
    [ "$code" -eq 0 ] || fail "exit code $code"
    echo "exit code 0"
}

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$game_pid/stat"; }
cpu_percent() {
    local before after hz
    hz=$(getconf CLK_TCK)
    before=$(cpu_ticks)
    sleep "$1"
    after=$(cpu_ticks)
    echo "$(((after - before) * 1000 / (hz * $1)))" | sed 's/\(.\)$/.\1/;s/^\./0./'
}

# The "end" comment of a recording, and the same fields of the replay's last trace line.
end_state() { grep '^# end ' "$1" | sed 's/^# end //; s#/##g'; }
replay_end_state() {
    local line well
    line=$(tail -n 1 "$1")
    field() { echo "$line" | grep -o "\"$1\": [0-9]*" | head -n 1 | grep -o '[0-9]*$'; }
    well=$(echo "$line" | grep -o '"well": \[[^]]*\]' | sed 's/"well": //' | tr -d '[]", ')
    echo "polls=$(field poll) score=$(field score) lines=$(field lines) level=$(field level) well=$well"
}
title_is() { xdotool search --name "^$1\$" >/dev/null 2>&1; }
wait_title() {
    for _ in $(seq $(($2 * 10))); do
        title_is "$1" && return 0
        sleep 0.1
    done
    fail "no window titled '$1' within $2 s"
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

if [ "$mode" = record ]; then
    # The mistakes end with 2 and one line before any window.
    "$bin/cellstorm" --record "$work/no/such/dir/r.txt" >out.log 2>&1
    code=$?
    if [ $code -ne 2 ] || [ "$(wc -l <out.log)" -ne 1 ] || ! grep -q "no/such/dir/r.txt" out.log; then
        fail "an unwritable recording: exit code $code, $(cat out.log)"
    fi
    printf -- '# seed 1\n-\ndonw\n' >bad.txt
    "$bin/cellstorm" --playback bad.txt >out.log 2>&1
    code=$?
    if [ $code -ne 2 ] || ! grep -q "line 3: unknown key 'donw'" out.log; then
        fail "a bad playback line: exit code $code, $(cat out.log)"
    fi

    # Seed 1, a Classic game on playfield 7: the first piece dropped clears the bottom row.
    printf -- '# seed 1\n-\ndown\n6*right\nup\nenter\n2*-\n70*down\n' >start.txt
    start_game --playback start.txt --record first.txt
    wait_title "CELLSTORM [(]playback[)]" 15
    wait_for play 20 is_play
    wait_title CELLSTORM 20
    # Written as the game goes: the played-back part is in the file within a second.
    sleep 1.5
    grep -q '^70[*]down$' first.txt || fail "the recording so far: $(cat first.txt)"
    tap Escape
    wait_for menu_from_play 5 is_menu_at 0
    menu_to 6
    tap Return
    wait_for closing 10 is_closing
    leave_closing
    first=$(end_state first.txt)
    [ "$(grep -c -e '^# seed 1$' -e '^# joystick none$' first.txt)" -eq 2 ] ||
        fail "recording header: $(head -n 4 first.txt)"
    case "$first" in *" lines=0 "* | "") fail "no rows cleared in the recording: $first" ;; esac

    "$bin/cellstorm-replay" --data "$bin" --input first.txt --trace replay.jsonl >out.log 2>&1 ||
        fail "the replay of the recording: $(cat out.log)"
    replayed=$(replay_end_state replay.jsonl)
    [ "$replayed" = "$first" ] || fail "the replay ends as '$replayed', the game as '$first'"
    echo "replayed: $first"

    # Played back (and recorded again): the same end; then the player's key leaves the closing
    # screen.
    start_game --playback first.txt --record second.txt
    wait_title "CELLSTORM [(]playback[)]" 15
    wait_for closing_played_back 90 is_closing
    leave_closing
    second=$(end_state second.txt)
    [ "$second" = "$first" ] || fail "the playback ends as '$second', the game as '$first'"
    echo "played back: $second"
    exit 0
fi

start_game "${game_args[@]}"
if [ "$mode" = window ]; then
    # Found by its title once it is shown (a screenshot of a hidden window never comes back);
    # the whole-step window on this screen is 640 x 480.
    for _ in $(seq 100); do
        shot_of=$(xdotool search --onlyvisible --name '^CELLSTORM$' 2>/dev/null | head -n 1)
        [ -n "$shot_of" ] && break
        sleep 0.1
    done
    [ -n "$shot_of" ] || fail "no window named CELLSTORM"
    export PROBE_SCALE=integer
fi

wait_for title 15 is_title
wait_for menu 20 is_menu_at 0

# The falling piece's width and height, in the upper 18 rows of the well (a dropped piece
# lies below them).
piece_box() { "$probe" box current.ppm "$bin/lv1DS8.BMP" 48 14 254 288; }
# Sizes read off a scaled picture may be a pixel out at the blended edges.
near() { [ $(($1 - $2)) -le 2 ] && [ $(($2 - $1)) -le 2 ]; }

case "$mode" in
walkthrough)
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
    menu_to 6
    tap Return
    wait_for closing 10 is_closing
    leave_closing
    ;;
alt_f4)
    tap Return
    wait_for play 5 is_play
    sleep 1
    tap alt+F4
    wait_exit 5
    ;;
window)
    size=$(xdotool getwindowgeometry "$shot_of" | awk '/Geometry/ { print $2 }')
    [ "$size" = 640x480 ] || fail "the window is $size, not 640x480"
    keep window
    grep -q '^fullscreen = no' "$settings" 2>/dev/null && fail "the option was written to the file"
    xdotool key alt+Return
    sleep 1
    size=$(xdotool getwindowgeometry "$shot_of" | awk '/Geometry/ { print $2 }')
    [ "$size" = "$screen" ] || fail "Alt+Enter left the window at $size"
    # Full screen in whole steps: the picture at 1x in the middle of this screen.
    shot_of=root
    wait_for menu_full_screen 5 is_menu_at 0
    tap alt+F4
    wait_exit 5
    grep -q '^fullscreen = yes' "$settings" || fail "Alt+Enter was not written back: $(cat "$settings")"
    grep -q '^scale = fit' "$settings" || fail "the --scale option was written back"
    ;;
rebind)
    tap Return
    wait_for play 5 is_play
    turned=""
    # A square piece looks the same turned: such a one is dropped, and the next one tried.
    for _ in $(seq 6); do
        sleep 0.3
        shot
        before=$(piece_box)
        set -- $before
        if [ "$1" -gt 0 ] && ! near "$1" "$2"; then
            tap s
            sleep 0.3
            shot
            keep turn_before
            after=$(piece_box)
            near "$1" "${after% *}" && near "$2" "${after#* }" ||
                fail "S turned the piece ($before, then $after), though unbound"
            tap d
            sleep 0.3
            shot
            keep turn_after
            after=$(piece_box)
            near "$1" "${after#* }" && near "$2" "${after% *}" ||
                fail "D did not turn the piece: $before, then $after"
            turned=yes
            break
        fi
        hold Down 2
    done
    [ -n "$turned" ] || fail "no piece to turn was seen"
    tap alt+F4
    wait_exit 5
    ;;
cpu)
    sleep 2
    echo "menu: $(cpu_percent 10) % of one core"
    tap Return
    wait_for play 5 is_play
    echo "play: $(cpu_percent 10) % of one core"
    tap Escape
    wait_for menu_from_play 5 is_menu_at 0
    menu_to 6
    tap Return
    wait_for closing 10 is_closing
    sleep 1.5
    echo "closing screen: $(cpu_percent 10) % of one core"
    tap Escape
    wait_exit 10
    ;;
*)
    fail "unknown run $mode"
    ;;
esac
