// Keys by the player's bindings (see keymap.h). The held state changes only when events are pumped,
// and every change is also posted to the window as the key message Windows would send. The game
// samples the keys once a frame, up to 100 ms apart; a tap that went down and up between two
// samples still reads as held once, at the next query of that key, so no short press is lost. Only
// a recent tap counts: one from before a long wait is forgotten. The release message of such a tap
// waits until the game has read the press (or forgotten it), so a release message always comes
// after the read that saw the key down; the game's shut-down state ends on the next message and
// relies on that order.
#include "platform/keyboard.h"

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

struct VirtualKey {
    int holders = 0;  // physical keys holding it (both Enters, both Shifts, ...)
    bool pressed_since_query = false;
    uint64_t pressed_at_ms = 0;
    // The release message held back until the press has been read: 0 when none.
    uint32_t release_message = 0;
    intptr_t release_lparam = 0;
};
VirtualKey virtual_keys[256];

// Longer than the longest gap between two samples of the keys in the menu (its 200 ms entry).
constexpr uint64_t kTapMemoryMs = 250;

constexpr intptr_t KEY_REPEAT_COUNT_ONE = 1;
constexpr intptr_t KEY_CONTEXT_ALT = intptr_t(1) << 29;
constexpr intptr_t KEY_PREVIOUS_DOWN = intptr_t(1) << 30;
constexpr intptr_t KEY_TRANSITION_UP = intptr_t(1) << 31;

bool tap_remembered(const VirtualKey& state) {
    return state.pressed_since_query && SDL_GetTicks64() - state.pressed_at_ms <= kTapMemoryMs;
}

void post_held_back_release(int key) {
    VirtualKey& state = virtual_keys[key];
    if (state.release_message != 0) {
        sdl2::post_to_window(state.release_message, uintptr_t(key), state.release_lparam);
        state.release_message = 0;
    }
}

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
    VirtualKey& state = virtual_keys[key];
    if (changed) {
        state.holders += down ? 1 : -1;
        if (down) {
            post_held_back_release(key);
            state.pressed_since_query = true;
            state.pressed_at_ms = SDL_GetTicks64();
        }
    }
    // With Alt held (or for Alt itself, or F10) Windows sends the system key messages; Alt+F4
    // is recognised by the default handling from them.
    const bool system = alt || key == VK_MENU || key == VK_F1 + 9;
    intptr_t lparam = KEY_REPEAT_COUNT_ONE | (alt ? KEY_CONTEXT_ALT : 0);
    if (down) {
        lparam |= event.repeat != 0 ? KEY_PREVIOUS_DOWN : 0;
        post_to_window(system ? WM_SYSKEYDOWN : WM_KEYDOWN, uintptr_t(key), lparam);
        return;
    }
    lparam |= KEY_PREVIOUS_DOWN | KEY_TRANSITION_UP;
    const uint32_t message = system ? WM_SYSKEYUP : WM_KEYUP;
    if (changed && state.holders == 0 && tap_remembered(state)) {
        state.release_message = message;
        state.release_lparam = lparam;
        return;
    }
    post_to_window(message, uintptr_t(key), lparam);
}

void release_forgotten_taps() {
    for (int key = 1; key < 256; ++key) {
        VirtualKey& state = virtual_keys[key];
        if (state.release_message != 0 && !tap_remembered(state)) {
            state.pressed_since_query = false;
            post_held_back_release(key);
        }
    }
}

int16_t live_key_state(int virtual_key) {
    // The closing screen spins on this alone; without a pump it would never see a key.
    pump_if_stale();
    if (virtual_key <= 0 || virtual_key > 255) {
        return 0;
    }
    VirtualKey& state = virtual_keys[virtual_key];
    const bool held = state.holders > 0 || tap_remembered(state);
    state.pressed_since_query = false;
    post_held_back_release(virtual_key);
    return held ? INT16_MIN : 0;  // top bit: held
}

}  // namespace sdl2

}  // namespace platform
