// Keys from the backends' events: which virtual keys a physical key gives (the player's
// bindings), Alt+Enter for the display, the held state with its taps, and the key messages.
#include "platform/common/keyboard_internal.h"

#include <algorithm>
#include <vector>

#include "platform/common/backend.h"
#include "platform/common/key_taps.h"
#include "platform/common/window_internal.h"
#include "platform/keyboard.h"
#include "platform/port/bindings.h"
#include "platform/window.h"

namespace platform::common {

namespace {

struct Slot {
    bool down = false;
    std::vector<int> keys;   // what it gave when it went down, so its release gives the same
    bool swallowed = false;  // Enter pressed with Alt: the game sees none of it
};
Slot slots[kKeySlots];

intptr_t key_lparam(bool down, bool repeat, bool alt) {
    intptr_t lparam = KEY_REPEAT_COUNT_ONE | (alt ? KEY_CONTEXT_ALT : 0);
    if (!down) {
        return lparam | KEY_PREVIOUS_DOWN | KEY_TRANSITION_UP;
    }
    return lparam | (repeat ? KEY_PREVIOUS_DOWN : 0);
}

// With Alt held (or for Alt itself, or F10) Windows sends the system key messages; Alt+F4 is
// recognised by the default handling from them.
uint32_t key_message(int virtual_key, bool down, bool alt) {
    const bool system = alt || virtual_key == VK_MENU || virtual_key == VK_F10;
    return down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
}

}  // namespace

void post_key_message(int virtual_key, bool down, bool repeat, bool alt) {
    post_to_window(key_message(virtual_key, down, alt), uintptr_t(virtual_key),
                   key_lparam(down, repeat, alt));
}

void key_event(const KeyEvent& event) {
    if (event.slot < 0 || event.slot >= kKeySlots) {
        return;
    }
    Slot& slot = slots[event.slot];
    const std::vector<int> keys = event.down && !slot.down
                                      ? port::virtual_keys(event.code, event.fixed_key, event.alt)
                                      : slot.keys;
    const bool gives_return = std::find(keys.begin(), keys.end(), VK_RETURN) != keys.end();
    if (event.down && gives_return && event.alt) {
        if (!slot.swallowed && !event.repeat) {
            backend::toggle_fullscreen();
        }
        slot.swallowed = true;
        return;
    }
    if (!event.down && slot.swallowed) {
        slot.swallowed = false;
        return;
    }
    const bool changed = event.down != slot.down;
    slot.down = event.down;
    slot.keys = keys;
    const double now = double(backend::clock_ms());
    for (const int key : keys) {
        if (changed) {
            count_key_change(key, event.down, now);
        }
        if (event.down) {
            post_key_message(key, true, event.repeat, event.alt);
        } else {
            post_key_release(key, changed, key_message(key, false, event.alt),
                             key_lparam(false, false, event.alt), now);
        }
    }
}

bool live_key_held(int virtual_key) {
    // The closing screen spins on the key state alone; the devices must stay current for it.
    backend::polled();
    return read_key(virtual_key, double(backend::clock_ms()));
}

void reset_keyboard() {
    for (Slot& slot : slots) {
        slot = Slot();
    }
    reset_key_taps();
}

}  // namespace platform::common
