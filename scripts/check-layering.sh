#!/usr/bin/env bash
# Dependencies point down: the entry and the flow in src/app sit on the menu and the rules, which
# sit on drawing, sound and input, which sit on the platform seam. This fails when an include
# reaches the wrong way. Usage: check-layering.sh [project root]
set -euo pipefail
root=${1:-$(dirname "$0")/..}
cd "$root"

failures=0
# Prints "file:line: include" for each include in the given files that matches the pattern.
includes_matching() {
    local pattern=$1
    shift
    (($# == 0)) && return 0
    grep -HnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]($pattern)" "$@" || true
}
report() {
    local why=$1 hits=$2
    [[ -z $hits ]] && return 0
    while IFS= read -r hit; do
        echo "layering: $hit: $why" >&2
        failures=$((failures + 1))
    done <<<"$hits"
}
sources_under() {
    local dir
    for dir in "$@"; do
        [[ -d $dir ]] && find "$dir" -type f \( -name '*.cpp' -o -name '*.h' \)
    done
    return 0
}

mapfile -t lower < <(sources_under src/game src/graphics src/sound src/input src/frontend src/common)
report "below the flow, nothing includes src/app" "$(includes_matching 'app/' "${lower[@]}")"

mapfile -t game < <(sources_under src | grep -v '^src/platform/' || true)
# Every folder of src/platform (each backend, common, port) is the platform's own; the game sees
# only the seam headers beside them.
report "only src/platform may include SDL or a backend's headers" \
    "$(includes_matching 'SDL|platform/[^/">]+/' "${game[@]}")"

mapfile -t platform < <(sources_under src/platform)
report "src/platform includes nothing of the game but the entry's WinMain" \
    "$(includes_matching '(app|game|graphics|sound|input|frontend|common)/' "${platform[@]}" |
        grep -v '[<"]app/winmain\.h[>"]' || true)"

if ((failures > 0)); then
    echo "layering: $failures include(s) point the wrong way" >&2
    exit 1
fi
echo "layering: ok"
