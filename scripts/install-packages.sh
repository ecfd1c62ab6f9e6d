#!/usr/bin/env bash
# Installs whichever of the Debian packages CELLSTORM builds, plays and tests with are missing.
# Sourced by play.sh and test.sh; a caller that needs more (scripts/fuzz.sh, scripts/web.sh) names
# them first in extra_packages.
packages=(build-essential cmake pkg-config libsdl2-dev libfreetype-dev fonts-dejavu-core
          libsamplerate0-dev libinih-dev libpng-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb
          xauth xdotool imagemagick x11-utils clang-format cppcheck dpkg-dev lintian
          desktop-file-utils appstream man-db ${extra_packages[@]+"${extra_packages[@]}"})
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
