#!/usr/bin/env bash
# Installs whatever Debian packages are missing, builds CELLSTORM with its tests into build/,
# and runs the whole test suite. Extra arguments go to ctest (for example: ./test.sh -R Mixer).
set -euo pipefail
cd "$(dirname "$0")"

source scripts/install-packages.sh

cmake -S . -B build
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure "$@"
