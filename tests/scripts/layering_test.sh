#!/usr/bin/env bash
# The layering check on scratch trees: each wrong include fails it, the allowed ones pass.
# Usage: layering_test.sh path/to/check-layering.sh
set -uo pipefail
check=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

failed=0
# expect (pass|fail), file, include line
while IFS='|' read -r expect file line; do
    rm -rf "$scratch/src" && mkdir -p "$scratch/src/$(dirname "$file")"
    printf '%s\nint x;\n' "$line" >"$scratch/src/$file"
    if "$check" "$scratch" >/dev/null 2>&1; then got=pass; else got=fail; fi
    [[ $got == "$expect" ]] || { echo "want $expect, got $got: src/$file: $line" >&2; failed=1; }
done <<'CASES'
fail|game/falling_piece.cpp|#include "app/game_state.h"
fail|graphics/transition.cpp|  #  include <app/frame_clock.h>
fail|common/random.h|#include "app/winmain.h"
fail|sound/sound.cpp|#include <SDL2/SDL.h>
fail|app/game_main.cpp|#include "platform/headless/control.h"
fail|input/input_device.cpp|#include "platform/common/mixer.h"
fail|frontend/main_menu.cpp|#include "platform/web/web_backend.h"
fail|common/main_window.cpp|#include <platform/port/options.h>
fail|platform/sdl2/events.cpp|#include "common/game_state.h"
fail|platform/headless/state.h|#include "graphics/display.h"
pass|platform/sdl2/main.cpp|#include "app/winmain.h"
pass|platform/sdl2/events.cpp|#include "platform/common/backend.h"
pass|platform/sdl2/audio.cpp|#include <SDL.h>
pass|app/game_main.cpp|#include "game/play_screen.h"
pass|game/play_screen.cpp|#include "platform/video.h"
CASES

# And the real tree passes.
"$check" "$(dirname "$check")/.." >/dev/null || { echo "the project's own tree fails" >&2; failed=1; }
exit $failed
