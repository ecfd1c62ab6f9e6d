#!/usr/bin/env bash
# How often a press of Esc or P held as long as people hold one does what it is for, in the real
# game under Xvfb: Esc from play into the menu and back, P into the pause and out. The session is
# recorded and replayed; each run of polls with the key held is one press, and it counts when the
# state it left changed exactly once. Presses after the unplayed game has ended are not counted.
#   bench/held_keys_under_xvfb.sh BIN_DIR [PRESSES] [MILLISECONDS...]   default 10, 80 120 160 200
set -u
bin=$(realpath "$1")
presses=${2:-10}
holds=(80 120 160 200)
(($# > 2)) && holds=("${@:3}")
work=$(mktemp -d)
source "$(dirname "$0")/../tests/e2e/x_display.sh"
need Xvfb xdotool
start_x 1024x768
export XDG_CONFIG_HOME=$work/config
start_game "$bin/cellstorm" --window --record "$work/rec.txt"
sleep 5
xdotool key Return
sleep 1
hold() { xdotool keydown "$1" sleep "$(awk -v m="$2" 'BEGIN { print m / 1000 }')" keyup "$1"; }
for ms in "${holds[@]}"; do
    for _ in $(seq "$presses"); do
        for key in Escape Escape p p; do
            hold "$key" "$ms"
            sleep 0.6
        done
    done
done
xdotool key alt+F4
wait_exit 10 >/dev/null
"$bin/cellstorm-replay" --data "$bin" --input "$work/rec.txt" --trace "$work/trace.jsonl" \
    --max-polls "$(sed -n 's/^# end polls=\([0-9]*\).*/\1/p' "$work/rec.txt")" >/dev/null 2>&1
/usr/bin/python3 - "$work/rec.txt" "$work/trace.jsonl" "$presses" "${holds[@]}" <<'PY'
import json, sys
rec, trace, presses, holds = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4:]
keys = []
for line in open(rec):
    line = line.split("#")[0].strip()
    if line:
        count, _, tokens = line.rpartition("*")
        keys += [set(tokens.split())] * (int(count) if count else 1)
lines = [json.loads(t) for t in list(open(trace))[1:]]
state = {t["poll"]: t["state"] for t in lines}
# A game left alone ends (the well fills up); presses after that have no game to act on.
over = next((t["poll"] for t in lines if t["state"] == 7), len(keys) + 1)
results = {"esc": [], "p": []}
poll = 1
while poll <= len(keys):
    key = next((k for k in ("esc", "p") if k in keys[poll - 1]), None)
    if key is None:
        poll += 1
        continue
    start = poll
    while poll <= len(keys) and key in keys[poll - 1]:
        poll += 1
    if start >= over:
        break
    seen = [state.get(start - 1)] + [state.get(p) for p in range(start, poll)]
    changes = sum(a != b for a, b in zip(seen, seen[1:]))
    results[key].append(changes == 1 and seen[-1] != seen[0])
for key, name in (("esc", "Esc (into the menu and out)"), ("p", "P (into the pause and out)")):
    for i, ms in enumerate(holds):
        done = results[key][i * 2 * presses:(i + 1) * 2 * presses]
        if done:
            print(f"{name}, held {ms} ms: {sum(done)} of {len(done)} presses acted once")
PY
[ -n "${KEEP:-}" ] && echo "kept $work" || rm -rf "$work"
