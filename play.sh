#!/usr/bin/env bash
# Installs whatever Debian packages are missing, builds CELLSTORM and its replay tool (which the
# README's recording section uses) into build/ and starts the game.
# Extra arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")"

source scripts/install-packages.sh

cmake -S . -B build
cmake --build build -j"$(nproc)" --target cellstorm cellstorm-replay
exec build/bin/cellstorm "$@"
