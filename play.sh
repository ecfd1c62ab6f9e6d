#!/usr/bin/env bash
# Installs whatever Debian packages are missing, builds CELLSTORM into build/ and starts it.
# Extra arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")"

source scripts/install-packages.sh

cmake -S . -B build
cmake --build build -j"$(nproc)" --target cellstorm
exec build/bin/cellstorm "$@"
