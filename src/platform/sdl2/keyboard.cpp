// Keys by the player's bindings (see keymap.h). The held state changes only when events are pumped,
// and every change is also posted to the window as the key message Windows would send; short
// taps are kept for the game's next read (see key_taps.h).
#include "platform/keyboard.h"

#include "platform/common/key_taps.h"
#include "platform/common/window_internal.h"
#include "platform/sdl2/keymap.h"
#include "platform/sdl2/sdl2_backend.h"
#include "platform/window.h"

namespace platform {

namespace {

bool scancode_down[SDL_NUM_SCANCODES] = {};
// The virtual key each held key gave when it went down, so its release gives the same one.
int scancode_key[SDL_NUM_SCANCODES] = {};
// Enter pressed with Alt toggles full screen; the game does not see that press at all.
bool scancode_swallowed[SDL_NUM_SCANCODES] = {};

}  // namespace

namespace sdl2 {

void handle_key_event(const SDL_KeyboardEvent& event) {
    const SDL_Scancode scancode = event.keysym.scancode;
    if (scancode <= SDL_SCANCODE_UNKNOWN || scancode >= SDL_NUM_SCANCODES) {
        return;
    }
    const bool down = event.type == SDL_KEYDOWN;
    const bool alt = (event.keysym.mod & KMOD_ALT) != 0;
    const int key = down && !scancode_down[scancode] ? virtual_key(event.keysym.sym, scancode, alt)
                                                     : scancode_key[scancode];
    if (down && key == VK_RETURN && alt) {
        if (!scancode_swallowed[scancode] && event.repeat == 0) {
            toggle_fullscreen();
        }
        scancode_swallowed[scancode] = true;
        return;
    }
    if (!down && scancode_swallowed[scancode]) {
        scancode_swallowed[scancode] = false;
        return;
    }
    const bool changed = down != scancode_down[scancode];
    scancode_down[scancode] = down;
    scancode_key[scancode] = key;
    if (key == 0) {
        return;
    }
    if (changed) {
        count_key_change(key, down, double(SDL_GetTicks64()));
    }
    // With Alt held (or for Alt itself, or F10) Windows sends the system key messages; Alt+F4
    // is recognised by the default handling from them.
    const bool system = alt || key == VK_MENU || key == VK_F1 + 9;
    intptr_t lparam = KEY_REPEAT_COUNT_ONE | (alt ? KEY_CONTEXT_ALT : 0);
    if (down) {
        lparam |= event.repeat != 0 ? KEY_PREVIOUS_DOWN : 0;
        common::post_to_window(system ? WM_SYSKEYDOWN : WM_KEYDOWN, uintptr_t(key), lparam);
        return;
    }
    lparam |= KEY_PREVIOUS_DOWN | KEY_TRANSITION_UP;
    post_key_release(key, changed, system ? WM_SYSKEYUP : WM_KEYUP, lparam,
                     double(SDL_GetTicks64()));
}

int16_t live_key_state(int virtual_key) {
    // The closing screen spins on this alone; without a pump it would never see a key.
    pump_if_stale();
    return read_key(virtual_key, double(SDL_GetTicks64())) ? INT16_MIN : 0;  // top bit: held
}

}  // namespace sdl2

}  // namespace platform
