// Keys by their physical position (the browser's key codes), as the Windows virtual keys the
// game reads and its window messages. The browser delivers them while the game waits; short
// taps are kept for the game's next read (see key_taps.h).
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstring>

#include "platform/common/backend.h"
#include "platform/common/key_taps.h"
#include "platform/common/window_internal.h"
#include "platform/input_poll.h"
#include "platform/keyboard.h"
#include "platform/web/web_backend.h"
#include "platform/window.h"

namespace platform {

namespace {

constexpr int VK_MENU = 0x12;  // Alt

struct CodeKey {
    const char* code;
    int key;
};
constexpr CodeKey kCodes[] = {
    {"ArrowLeft", VK_LEFT}, {"ArrowRight", VK_RIGHT},   {"ArrowUp", VK_UP},  {"ArrowDown", VK_DOWN},
    {"Enter", VK_RETURN},   {"NumpadEnter", VK_RETURN}, {"Space", VK_SPACE}, {"Escape", VK_ESCAPE},
    {"AltLeft", VK_MENU},   {"AltRight", VK_MENU},      {"F4", VK_F4},
};

// The virtual key of a physical key, or 0 for keys nothing here needs.
int virtual_key(const char* code) {
    if (std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z' && code[4] == 0) {
        return code[3];
    }
    for (const CodeKey& entry : kCodes) {
        if (std::strcmp(code, entry.code) == 0) {
            return entry.key;
        }
    }
    return 0;
}

// Alt+Enter switches the page to full screen; the game does not see that press at all.
bool enter_swallowed = false;

EM_BOOL on_key(int event_type, const EmscriptenKeyboardEvent* event, void* /*user*/) {
    const bool down = event_type == EMSCRIPTEN_EVENT_KEYDOWN;
    const int key = virtual_key(event->code);
    if (key == VK_RETURN && (down ? event->altKey : enter_swallowed)) {
        if (down && !enter_swallowed) {
            // Inside the key's own handler, where the browser allows full screen.
            EM_ASM({ Module.cellstormToggleFullscreen(); });
        }
        enter_swallowed = down;
        return EM_TRUE;
    }
    if (key == 0) {
        return EM_FALSE;
    }
    const bool changed = !event->repeat;
    if (changed) {
        count_key_change(key, down, emscripten_get_now());
    }
    // With Alt held (or for Alt itself) Windows sends the system key messages.
    const bool system = event->altKey || key == VK_MENU;
    intptr_t lparam = KEY_REPEAT_COUNT_ONE | (event->altKey ? KEY_CONTEXT_ALT : 0);
    if (down) {
        lparam |= event->repeat ? KEY_PREVIOUS_DOWN : 0;
        common::post_to_window(system ? WM_SYSKEYDOWN : WM_KEYDOWN, uintptr_t(key), lparam);
        // The page must not scroll or act on the game's keys.
        return EM_TRUE;
    }
    lparam |= KEY_PREVIOUS_DOWN | KEY_TRANSITION_UP;
    post_key_release(key, changed, system ? WM_SYSKEYUP : WM_KEYUP, lparam, emscripten_get_now());
    return EM_TRUE;
}

// A page that loses the focus gets no key-up for the keys still held: let them all go.
EM_BOOL on_blur(int /*event_type*/, const EmscriptenFocusEvent* /*event*/, void* /*user*/) {
    let_go_of_all_keys();
    return EM_FALSE;
}

void listen_once() {
    static bool listening = false;
    if (listening) {
        return;
    }
    listening = true;
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, on_key);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, on_key);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, on_blur);
}

// Idle loops (the closing screen, the shut-down state) peek at an empty queue back to back; such
// a peek waits a little, so they do not keep the page busy.
constexpr double kBackToBackMs = 2;
constexpr uint32_t kIdleWaitMs = 3;
double last_pump_ms = 0;

}  // namespace

namespace backend {

void pump_events() {
    listen_once();
    const bool idle =
        common::message_queue_empty() && emscripten_get_now() - last_pump_ms < kBackToBackMs;
    web::yield_to_browser(idle ? kIdleWaitMs : 0);
    release_forgotten_taps(emscripten_get_now());
    last_pump_ms = emscripten_get_now();
}

}  // namespace backend

// The page neither records nor plays back input: the player's own keys and gamepad only.
bool input_source_changed() {
    return false;
}

void input_poll_begins() {}

void input_poll_ends() {}

int16_t async_key_state(int virtual_key) {
    listen_once();
    return read_key(virtual_key, emscripten_get_now()) ? INT16_MIN : 0;  // top bit: held
}

}  // namespace platform
