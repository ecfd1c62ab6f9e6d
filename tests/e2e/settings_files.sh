#!/usr/bin/env bash
# The files the real game reads and writes, named wrongly or made hostile: a settings file
# through a symbolic link or of mode 600 is written in place; a device, a FIFO, /dev/zero or
# 100 MB are never written and never hold up the start (one message, small memory, SIGTERM ends
# it); two games ending together leave one whole file; a recording cut mid-line replays; a
# recording that takes nothing is refused. Takes BIN_DIR and the memory limit in MB (0: none).
set -u
bin=$1 rss_limit=$2
work=$(mktemp -d)
source "$(dirname "${BASH_SOURCE[0]}")/x_display.sh"
trap 'rm -rf "$work"' EXIT
[ -x "$bin/cellstorm" ] || skip "the game is not built"
need Xvfb xdotool
export XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy
cd "$work" || exit 1

# Without a display a game makes its settings file and ends: two at once, fifty times.
no_display() { DISPLAY=:none SDL_VIDEODRIVER=x11 "$bin/cellstorm" --config "$@"; }
mkdir race
no_display race/first.ini 2>/dev/null
for _ in $(seq 50); do
    rm -f race/both.ini
    no_display race/both.ini 2>game.log & no_display race/both.ini 2>>game.log
    wait
    cmp -s race/first.ini race/both.ini || fail "two games at once: $(cat race/both.ini)"
    grep -q 'not be saved' game.log && fail "two games at once: one was not saved"
done
[ "$(ls race)" = "$(printf 'both.ini\nfirst.ini')" ] || fail "left behind: $(ls race)"

# run CONFIG: the game with that settings file reaches its menu within 5 s; Alt+Enter, then
# SIGTERM ends it within a second.
start_x 800x600
trap '[ -n "$game_pid" ] && kill $game_pid; kill $xvfb_pid; rm -rf "$work"' EXIT
run() {
    start_game "$bin/cellstorm" --window --verbose --config "$1"
    for _ in $(seq 50); do grep -q '^cellstorm: game menu' game.log && break || sleep 0.1; done
    grep -q '^cellstorm: game menu' game.log || fail "$1: no menu within 5 s"
    rss=$(ps -o rss= -p "$game_pid")
    ((rss_limit == 0 || rss < rss_limit * 1024)) || fail "$1: $rss KiB in memory"
    xdotool key alt+Return
    sleep 0.5
    kill -TERM "$game_pid"
    sleep 1
    alive && fail "$1: SIGTERM did not end the game within a second"
    wait "$game_pid"
    game_pid=""
}
printf '[display]\nfullscreen = no\n' >target.ini
ln -s target.ini link.ini
cp target.ini private.ini
chmod 600 private.ini
for f in link private; do
    run $f.ini
    grep -q '^fullscreen = yes' "$(readlink -f $f.ini)" || fail "$f.ini: the change not saved"
done
[ -L link.ini ] || fail "the link was replaced by a file"
[ "$(stat -c %a private.ini)" = 600 ] || fail "a file of mode 600 became $(stat -c %a private.ini)"

mkfifo fifo
truncate -s 100M big.ini
[ "$(id -u)" = 0 ] && mknod device c 1 3
for f in fifo /dev/zero big.ini device; do
    [ -e $f ] || continue
    type=$(stat -c %F $f)
    run $f
    [ "$(grep -c "$f" game.log)" = 1 ] || fail "$f: not named once"
    [ "$(stat -c %F $f)" = "$type" ] || fail "$f: became a $(stat -c %F $f)"
done
[ "$(stat -c %s big.ini)" = 104857600 ] || fail "big.ini was written"

printf -- '# seed 3\n-\n6*down\nenter\n20*-\n3*do' >cut.txt
timeout 20 "$bin/cellstorm-replay" --data "$bin" --input cut.txt 2>game.log ||
    fail "a recording cut mid-line: exit code $?"
[ "$(grep -c 'line 6 is cut short.*after poll 28$' game.log)" = 1 ] || fail "cut: not one warning"
timeout 10 "$bin/cellstorm" --record /dev/full 2>game.log
[ $? = 2 ] && grep -q 'cannot write the recording /dev/full' game.log || fail "--record /dev/full"
echo "settings files: all as expected"
