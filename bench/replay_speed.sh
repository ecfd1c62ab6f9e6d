#!/usr/bin/env bash
# cellstorm-replay's polls a second and its peak resident memory over runs of 10,000 and
# 1,000,000 polls, with no trace or screenshot (the picture unused) and with a trace. Two
# scripts: a short one (the game runs on alone once it is used up) and one as long as a
# recording of the longest run, to tell what the run costs from what the script costs.
#   bench/replay_speed.sh BIN_DIR...        several builds are measured in turns
set -u
bins=()
for bin in "$@"; do bins+=("$(realpath "$bin")"); done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '# seed 7\n3*-\nenter\n' >"$work/short.script"
{
    echo "# seed 7"
    echo "3*-"
    for _ in $(seq 20000); do printf 'enter\n-\n40*-\nleft\n-\nspace\n-\n'; done
} >"$work/long.script"
for script in short long; do
    for polls in 10000 1000000; do
        for trace in none /dev/null; do
            for bin in "${bins[@]}"; do
                args=(--data "$bin" --input "$work/$script.script" --max-polls "$polls")
                [ "$trace" = none ] || args+=(--trace "$trace")
                /usr/bin/time -f "%e %M" -o "$work/time" "$bin/cellstorm-replay" "${args[@]}" \
                    >/dev/null 2>&1
                read -r seconds kib < <(tail -n 1 "$work/time")
                awk -v b="$bin" -v s="$script" -v p="$polls" -v t="$trace" -v e="$seconds" \
                    -v k="$kib" 'BEGIN { printf "%s: %s script, %d polls, trace %s: %.0f polls/s, %.1f MiB\n",
                    b, s, p, t, p / (e > 0 ? e : 0.01), k / 1024 }'
            done
        done
    done
done
