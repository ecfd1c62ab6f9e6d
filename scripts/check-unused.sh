#!/usr/bin/env bash
# Fails when a function in src or tools is called from nowhere in src or tools (cppcheck's
# unusedFunction over every backend and tool at once). Tests are left out on purpose: a function
# only tests call is dead code of the game. The one exception is the headless backend's control
# API (src/platform/headless/control.h), which exists for tests and tools to drive the game.
set -euo pipefail
cd "$(dirname "$0")/.."

# unusedFunction needs the whole program in one process, so no -j.
findings=$(cppcheck --quiet --enable=unusedFunction --std=c++17 --language=c++ -I src \
    --library=emscripten --library=scripts/check-unused.cfg \
    --template='{file}:{line}: {id}: {message}' src tools 2>&1 >/dev/null || true)

failures=0
while IFS= read -r finding; do
    # Only unused functions: the other checks cppcheck always runs are not this script's.
    [[ $finding == *": unusedFunction: "* ]] || continue
    name=$(sed -nE "s/.*unusedFunction: The function '([^']+)'.*/\1/p" <<<"$finding")
    if [[ -n $name && $finding == src/platform/headless/* ]] &&
        grep -qE "\b$name\(" src/platform/headless/control.h; then
        continue
    fi
    echo "unused: $finding" >&2
    failures=$((failures + 1))
done <<<"$findings"

if ((failures > 0)); then
    echo "unused functions: $failures finding(s)" >&2
    exit 1
fi
echo "unused functions: ok"
