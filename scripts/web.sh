#!/usr/bin/env bash
# Builds CELLSTORM for the browser into build-web/site and serves it on
# http://localhost:8000/cellstorm.html; with --test, builds it and runs the browser test instead.
# Installs what is missing: Debian's emscripten, and FreeType and libsamplerate built for the web
# from Debian's own source packages (emscripten's prebuilt ports cannot be fetched).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-web
mode=${1:-serve}
case "$mode" in
serve | --test) ;;
*)
    echo "usage: scripts/web.sh [--test]" >&2
    exit 2
    ;;
esac

extra_packages=(emscripten dpkg-dev)
if [[ $mode == --test ]]; then
    extra_packages+=(chromium python3-websocket)
fi
source scripts/install-packages.sh

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
# emcc's JavaScript tools need Debian's node modules even when another node comes first on PATH.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
jobs=$(nproc)

# apt-get source needs deb-src entries. Without them, this machine's own deb entries for its
# Debian release are copied with the type changed, so the address is the one the machine already
# uses; with none of those either, it says how to add one and stops.
ensure_source_line() {
    apt-get source --print-uris freetype >/dev/null 2>&1 && return 0
    local release lines stanzas file=/etc/apt/sources.list.d/cellstorm-deb-src
    release=$(. /etc/os-release && echo "$VERSION_CODENAME")
    # One-line entries, "deb [OPTIONS] URI SUITE COMPONENT...", of a suite of this release.
    lines=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
        awk -v r="$release" '$1 == "deb" { l = $0; sub(/\[[^]]*\]/, "", l); split(l, f)
            if (f[3] == r || index(f[3], r "-") == 1) { sub(/^deb/, "deb-src"); print } }' || true)
    # deb822 stanzas of type deb, not disabled, with a suite of this release.
    stanzas=$(for sources in /etc/apt/sources.list.d/*.sources; do
        [[ -f $sources ]] && awk -v r="$release" '
            function flush() { if (deb && on && ours) print s; s = ""; deb = ours = 0; on = 1 }
            BEGIN { on = 1 }
            /^[ \t]*$/ { flush(); next }
            /^#/ { next }
            /^Types:/ { deb = $0 ~ /[ \t]deb([ \t]|$)/; s = s "Types: deb-src\n"; next }
            /^Enabled:/ { on = tolower($2) != "no" }
            /^Suites:/ { for (i = 2; i <= NF; i++) ours = ours || $i == r || index($i, r "-") == 1 }
            { s = s $0 "\n" }
            END { flush() }' "$sources"
    done || true)
    if [[ -z $lines && -z $stanzas ]]; then
        echo "apt-get source finds no source packages: add a deb-src line (or 'Types: deb" \
            "deb-src' in /etc/apt/sources.list.d/debian.sources) for your Debian release," \
            "then run apt-get update" >&2
        exit 1
    fi
    echo "Adding deb-src entries like this machine's deb entries for $release to apt"
    [[ -n $lines ]] && printf '%s\n' "$lines" | "${sudo[@]}" tee "$file.list" >/dev/null
    [[ -n $stanzas ]] && printf '%s\n' "$stanzas" | "${sudo[@]}" tee "$file.sources" >/dev/null
    "${sudo[@]}" apt-get update
}

# A library the game links, built for the web from Debian's source package into $out/libs.
#   build_library SOURCE_PACKAGE LIBRARY_FILE PREPARE_FUNCTION -- CMAKE_OPTIONS...
build_library() {
    local package=$1 library=$2 prepare=$3
    shift 4
    [[ -f $out/libs/lib/$library ]] && return 0
    ensure_source_line
    rm -rf "$out/src/$package" "$out/lib-build/$package"
    mkdir -p "$out/src/$package"
    (cd "$out/src/$package" && apt-get source -qq "$package" 2>&1 | grep -v '^dpkg-source: info' || true)
    local source
    source=$(find "$out/src/$package" -mindepth 1 -maxdepth 1 -type d | head -n 1)
    [[ -n $source ]] || { echo "apt-get source $package gave no source tree" >&2; exit 1; }
    "$prepare" "$source"
    emcmake cmake -S "$source" -B "$out/lib-build/$package" -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DCMAKE_INSTALL_PREFIX="$out/libs" -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTING=OFF \
        "${launcher[@]}" "$@" >/dev/null
    nice cmake --build "$out/lib-build/$package" -j"$jobs"
    cmake --install "$out/lib-build/$package" >/dev/null
}

# Only what the game's text needs: TrueType faces, their hinting, one-bit rendering. The other
# drivers are then never referenced and stay out of the module.
freetype_modules() {
    printf '%s\n' 'FT_USE_MODULE( FT_Driver_ClassRec, tt_driver_class )' \
        'FT_USE_MODULE( FT_Module_Class, sfnt_module_class )' \
        'FT_USE_MODULE( FT_Renderer_Class, ft_raster1_renderer_class )' \
        >"$1/include/freetype/config/ftmodule.h"
}
nothing_to_prepare() { :; }

# The data files come from the asset maker, a native program; the test's screen probe too.
cmake -S . -B "$out/native" -DCELLSTORM_BENCHMARKS=OFF "${launcher[@]}" >/dev/null
targets=(cellstorm_data)
[[ $mode == --test ]] && targets+=(screen_probe)
nice cmake --build "$out/native" -j"$jobs" --target "${targets[@]}"

build_library freetype libfreetype.a freetype_modules -- -DFT_DISABLE_ZLIB=TRUE \
    -DFT_DISABLE_BZIP2=TRUE -DFT_DISABLE_PNG=TRUE -DFT_DISABLE_HARFBUZZ=TRUE -DFT_DISABLE_BROTLI=TRUE
# The mixer uses the fastest converter alone; the others' tables would add over a megabyte.
build_library libsamplerate libsamplerate.a nothing_to_prepare -- -DLIBSAMPLERATE_EXAMPLES=OFF \
    -DLIBSAMPLERATE_ENABLE_SINC_MEDIUM_CONVERTER=OFF -DLIBSAMPLERATE_ENABLE_SINC_BEST_CONVERTER=OFF
emcmake cmake -S . -B "$out/wasm" -DCMAKE_BUILD_TYPE=Release \
    -DCELLSTORM_WEB_LIBS="$out/libs" -DCELLSTORM_WEB_DATA="$out/native/bin" \
    -DCELLSTORM_WEB_SITE="$out/site" "${launcher[@]}" >/dev/null
nice cmake --build "$out/wasm" -j"$jobs"

if [[ $mode == --test ]]; then
    exec /usr/bin/python3 tests/web/browser_test.py --site "$out/site" --data "$out/native/bin" \
        --probe "$out/native/tests/e2e/screen_probe" --work "$out/test"
fi
echo "CELLSTORM in a browser: http://localhost:8000/cellstorm.html (Ctrl+C stops the server)"
exec /usr/bin/python3 -m http.server 8000 --bind 127.0.0.1 --directory "$out/site"
