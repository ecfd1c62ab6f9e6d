#!/usr/bin/env bash
# Installs whatever Debian packages are missing, builds CELLSTORM into build/ and starts it.
# Extra arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")"

packages=(build-essential cmake pkg-config libsdl2-dev libfreetype-dev fonts-dejavu-core
          libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool imagemagick x11-utils)
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if ((${#missing[@]} > 0)); then
    echo "Installing missing packages: ${missing[*]}"
    sudo=()
    if [[ $(id -u) -ne 0 ]]; then
        command -v sudo >/dev/null || { echo "Run as root or install sudo first." >&2; exit 1; }
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
fi

# The desktop game is the SDL2 backend's target; build just it and its data files.
if [[ ! -f src/platform/sdl2/CMakeLists.txt ]]; then
    echo "CELLSTORM cannot start yet: this checkout has no desktop (SDL2) build of the game." >&2
    exit 1
fi
cmake -S . -B build
cmake --build build -j"$(nproc)" --target cellstorm
exec build/bin/cellstorm "$@"
