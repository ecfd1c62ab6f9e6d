#!/usr/bin/env bash
# Files the real game is given wrongly or made hostile: settings through a link or of mode 600
# are written in place; a device, a FIFO, /dev/zero or 100 MB are never written nor hold up the
# start (one message, small memory, SIGTERM ends it); two games ending together leave one whole
# file; a recording cut mid-line replays. Takes BIN_DIR and the memory limit in MB (0: none).
set -u
bin=$1 rss_limit=$2 work=$(mktemp -d)
source "$(dirname "${BASH_SOURCE[0]}")/x_display.sh"
[ -x "$bin/cellstorm" ] || skip "the game is not built"
need Xvfb xdotool && cd "$work" && mkdir race && export XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy
# Without a display a game makes its settings file and ends: two at once, fifty times.
bare() { DISPLAY=:none SDL_VIDEODRIVER=x11 "$bin/cellstorm" --config "$@" 2>>game.log; }
bare race/one.ini; for _ in $(seq 50); do
    rm -f race/two.ini && { bare race/two.ini & bare race/two.ini; } && wait
    cmp -s race/one.ini race/two.ini || fail "two games at once: $(cat race/two.ini)"
done
[ "$(ls race)" = "$(printf 'one.ini\ntwo.ini')" ] && ! grep saved game.log || fail "$(ls race)"
yes '!' | head -n 50 >bad.ini && rm game.log && bare bad.ini
[ "$(grep -c 'bad.ini.*\(not a setting\|and 40 more\)' game.log)" = 11 ] || fail "50 bad lines"
start_x 800x600 && trap '[ -n "$game_pid" ] && kill $game_pid; kill $xvfb_pid; rm -rf "$work"' EXIT
# The game reaches its menu within 5 s; Alt+Enter; SIGTERM ends it within a second.
run() {
    start_game "$bin/cellstorm" --window --verbose --config "$1"
    for _ in $(seq 50); do grep -q '^cellstorm: game menu' game.log && break || sleep 0.1; done
    grep -q '^cellstorm: game menu' game.log || fail "$1: no menu within 5 s"
    rss=$(ps -o rss= -p "$game_pid")
    ((rss_limit == 0 || rss < rss_limit * 1024)) || fail "$1: $rss KiB in memory"
    xdotool key alt+Return && sleep 0.5 && kill -TERM "$game_pid" && sleep 1
    alive && fail "$1: SIGTERM did not end the game within a second"
    game_pid=""
}
printf '[display]\nfullscreen = no\n' | tee private.ini >target.ini
ln -s target.ini link.ini && chmod 600 private.ini && mkfifo fifo && truncate -s 100M big
[ "$(id -u)" = 0 ] && mknod device c 1 3
for f in link.ini private.ini fifo /dev/zero big device; do
    [ -e $f ] || continue
    type=$(stat -c %F:%s $f) && run $f
    case $f in
    *.ini) grep -q '^fullscreen = yes' "$(readlink -f $f)" || fail "$f: the change was lost" ;;
    *) [ "$(grep -c "$f" game.log) $(stat -c %F:%s $f)" = "1 $type" ] || fail "$f: $(ls -l $f)" ;;
    esac
done
[ -L link.ini ] && [ "$(stat -c %a private.ini)" = 600 ] || fail "$(ls -l link.ini private.ini)"
printf -- '# seed 3\n-\n6*down\nenter\n20*-\n3*do' >cut.txt
timeout 20 "$bin/cellstorm-replay" --data "$bin" --input cut.txt 2>game.log || fail "cut: $?"
[ "$(grep -c 'line 6 is cut short.*after poll 28$' game.log)" = 1 ] || fail "cut: not one warning"
echo "settings files: all as expected"
