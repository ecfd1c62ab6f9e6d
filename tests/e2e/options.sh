#!/usr/bin/env bash
# The real game's command line: a bad option names itself in one line, then the usage, exit
# code 2, and no window is tried (the game would say it found no display); --help and
# --version answer on stdout with 0.
#   options.sh BIN_DIR
set -u
game=$1/cellstorm
[ -x "$game" ] || { echo "skipped: the game is not built"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAILED: $*"
    sed 's/^/stderr: /' "$work/err"
    exit 1
}
export XDG_CONFIG_HOME=$work/config DISPLAY=:none SDL_AUDIODRIVER=dummy

for args in "--frobnicate" "--scale stretch" "--scale" "--window=yes" "-w" "--data"; do
    # shellcheck disable=SC2086
    timeout 10 "$game" $args >"$work/out" 2>"$work/err"
    code=$?
    [ "$code" -eq 2 ] || fail "'$args' gave exit code $code"
    first=$(head -n 1 "$work/err")
    [[ $first == cellstorm:*"${args%% *}"* ]] || fail "'$args': first line does not name it: $first"
    grep -q '^usage: cellstorm' "$work/err" || fail "'$args': no usage"
    grep -q 'display' "$work/err" && fail "'$args': a window was tried"
    [ -s "$work/out" ] && fail "'$args': wrote on stdout"
done
[ -e "$work/config" ] && fail "a bad command line touched the settings folder"

timeout 10 "$game" --help >"$work/out" 2>"$work/err" || fail "--help did not exit 0"
for option in --window --fullscreen --scale --no-sound --data --config --verbose --version; do
    grep -q -- "$option" "$work/out" || fail "--help does not list $option"
done
timeout 10 "$game" --version >"$work/out" 2>"$work/err" || fail "--version did not exit 0"
grep -Eq '^cellstorm [0-9]+\.[0-9]+' "$work/out" || fail "--version: $(cat "$work/out")"
echo "options: all as expected"
