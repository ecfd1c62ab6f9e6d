#!/usr/bin/env bash
# Installs whatever Debian packages are missing, builds CELLSTORM with its tests into build/,
# and runs the whole test suite, then the browser test where emscripten and chromium are
# installed. Extra arguments go to ctest (for example: ./test.sh -R Mixer) and leave the browser
# test out.
set -euo pipefail
cd "$(dirname "$0")"

source scripts/install-packages.sh

cmake -S . -B build
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure "$@"

# The browser version, on a whole run only, where its tools are already here (scripts/web.sh
# --test installs them).
if (($# == 0)); then
    if [[ -n ${CELLSTORM_BROWSER_TEST_LATER:-} ]]; then
        echo "Browser test left for later (scripts/web.sh --test)."
    elif command -v emcc >/dev/null && command -v chromium >/dev/null; then
        scripts/web.sh --test
    else
        echo "Browser test skipped: emscripten and chromium are not installed" \
            "(scripts/web.sh --test installs them and runs it)."
    fi
fi
