#!/usr/bin/env bash
# The real game's command line: a bad option, an unwritable recording or a bad line in a
# playback names itself in the first line, exit code 2, and no window is tried (the game would
# say it found no display); --help and --version of it and of cellstorm-replay answer on stdout
# with 0. Takes BIN_DIR.
set -u
game=$1/cellstorm
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/x_display.sh"
[ -x "$game" ] || skip "the game is not built"
export XDG_CONFIG_HOME=$work/config DISPLAY=:none SDL_AUDIODRIVER=dummy

# bad NAMED ARGS...
bad() {
    local named=$1
    shift
    timeout 10 "$game" "$@" >"$work/out" 2>"$work/game.log"
    code=$?
    [ "$code" -eq 2 ] || fail "'$*' gave exit code $code"
    [[ $(head -n 1 "$work/game.log") == "cellstorm: "*"$named"* ]] || fail "'$*': not $named"
    grep -q 'display' "$work/game.log" && fail "'$*': a window was tried"
    [ -s "$work/out" ] && fail "'$*': wrote on stdout"
}
# What the first line says | the command line.
while IFS='|' read -r named args; do
    # shellcheck disable=SC2086
    bad "$named" $args
    grep -q '^usage: cellstorm' "$work/game.log" || fail "'$args': no usage"
done <<'END'
bad value 'stretch'|--scale stretch
'--scale' needs a value|--scale
'--window=yes' takes no value|--window=yes
'-w'|--window -w
bad value '' for option '--data'|--data=
bad value '/nowhere' for option '--data'|--data /nowhere
bad value '/etc/passwd' for option '--data'|--data=/etc/passwd
'--bogus'|--help --bogus
--record needs a file name|--record=
--playback given twice|--playback=a --playback b
END
[ -e "$work/config" ] && fail "a bad option touched the settings folder"
bad "no/such/dir/r.txt" --record "$work/no/such/dir/r.txt"
[ "$(wc -l <"$work/game.log")" -eq 1 ] || fail "an unwritable recording: more than one line"
bad "cannot write the recording /dev/full" --record /dev/full
printf -- '# seed 1\n-\ndonw\n' >"$work/bad.txt"
bad "line 3: unknown key 'donw'" --playback "$work/bad.txt"

# --help, the README's table and the manual's OPTIONS name the same options; the settings file
# the game writes, the README's block and the manual's FILES the same settings.
timeout 10 "$game" --help >"$work/out" 2>"$work/game.log" || fail "--help did not exit 0"
# No display: it writes its settings and ends, saying so, with 1.
SDL_VIDEODRIVER=x11 timeout 10 "$game" >/dev/null 2>"$work/game.log"
[ $? -eq 1 ] && grep -q '^cellstorm: cannot start: ' "$work/game.log" || fail "no display: not 1"
src=$(dirname "${BASH_SOURCE[0]}")/../..
pick() { grep -Eo -- "$1" | tr -d '` =' | tr , '\n' | sort -u; }
agree() { [ "$2" = "$3" ] || fail "$1 differ: $(diff <(echo "$2") <(echo "$3") | grep '^[<>]')"; }
options=$(pick '^  (-[a-z], )?--[a-z-]+' <"$work/out")
agree "--help and README.md" "$options" "$(grep '^| `-' "$src/README.md" | pick '`--?[a-z][a-z-]*')"
agree "--help and cellstorm.6" "$options" \
    "$(sed -n '/^\.SH OPTIONS/,/^\.SH /s/\\-/-/gp' "$src/dist/cellstorm.6" |
        pick '(^| )--?[a-z][a-z-]*')"
setting='^(\[[a-z]+\]|[a-z0-9_]+ =)'
settings=$(pick "$setting" <"$XDG_CONFIG_HOME/cellstorm/cellstorm.ini")
agree "the settings file and README.md" "$settings" \
    "$(sed -n '/^## Settings file/,/^## /s/^    //p' "$src/README.md" | pick "$setting")"
agree "the settings file and cellstorm.6" "$settings" \
    "$(sed -n '/^\.I .*\/cellstorm\.ini$/,/^\.TP/s/^\.\(B\|BR\|RB\) //p' "$src/dist/cellstorm.6" |
        tr ' ' '\n' | pick '^(\[[a-z]+\]|[a-z][a-z0-9_]*)$')"
for program in cellstorm cellstorm-replay; do
    timeout 10 "$1/$program" --version >"$work/out" 2>"$work/game.log" || fail "$program --version"
    grep -Eq "^$program [0-9]+\.[0-9]+" "$work/out" || fail "--version: $(cat "$work/out")"
    [[ $(timeout 10 "$1/$program" --help) == "usage: $program "* ]] || fail "$program --help"
done
echo "options: all as expected"
