// Keys by their physical position (the browser's key codes), as the Windows virtual keys the
// game reads and its window messages. The browser delivers them while the game waits. The game
// samples the keys once a frame, up to 100 ms apart, so a tap that went down and up between
// two samples still reads as held once, at the next query of that key; its release message is
// held back until then, so a release never reaches the window before the read that saw the
// press (the shut-down state ends on the next message and relies on that order).
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstring>

#include "platform/common/backend.h"
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

struct VirtualKey {
    int holders = 0;  // physical keys holding it (both Enters, both Alts)
    bool pressed_since_query = false;
    double pressed_at_ms = 0;
    uint32_t release_message = 0;  // held back until the press has been read: 0 when none
    intptr_t release_lparam = 0;
};
VirtualKey virtual_keys[256];
// Alt+Enter switches the page to full screen; the game does not see that press at all.
bool enter_swallowed = false;

// Longer than the longest gap between two samples of the keys in the menu (its 200 ms entry).
constexpr double kTapMemoryMs = 250;

constexpr intptr_t KEY_REPEAT_COUNT_ONE = 1;
constexpr intptr_t KEY_CONTEXT_ALT = intptr_t(1) << 29;
constexpr intptr_t KEY_PREVIOUS_DOWN = intptr_t(1) << 30;
constexpr intptr_t KEY_TRANSITION_UP = intptr_t(1) << 31;

bool tap_remembered(const VirtualKey& state) {
    return state.pressed_since_query && emscripten_get_now() - state.pressed_at_ms <= kTapMemoryMs;
}

void post_held_back_release(int key) {
    VirtualKey& state = virtual_keys[key];
    if (state.release_message != 0) {
        web::post_to_window(state.release_message, uintptr_t(key), state.release_lparam);
        state.release_message = 0;
    }
}

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
    VirtualKey& state = virtual_keys[key];
    const bool changed = !event->repeat;
    if (changed) {
        state.holders = down ? state.holders + 1 : (state.holders > 0 ? state.holders - 1 : 0);
        if (down) {
            post_held_back_release(key);
            state.pressed_since_query = true;
            state.pressed_at_ms = emscripten_get_now();
        }
    }
    // With Alt held (or for Alt itself) Windows sends the system key messages.
    const bool system = event->altKey || key == VK_MENU;
    intptr_t lparam = KEY_REPEAT_COUNT_ONE | (event->altKey ? KEY_CONTEXT_ALT : 0);
    if (down) {
        lparam |= event->repeat ? KEY_PREVIOUS_DOWN : 0;
        web::post_to_window(system ? WM_SYSKEYDOWN : WM_KEYDOWN, uintptr_t(key), lparam);
        // The page must not scroll or act on the game's keys.
        return EM_TRUE;
    }
    lparam |= KEY_PREVIOUS_DOWN | KEY_TRANSITION_UP;
    const uint32_t message = system ? WM_SYSKEYUP : WM_KEYUP;
    if (state.holders == 0 && tap_remembered(state)) {
        state.release_message = message;
        state.release_lparam = lparam;
        return EM_TRUE;
    }
    web::post_to_window(message, uintptr_t(key), lparam);
    return EM_TRUE;
}

// A page that loses the focus gets no key-up for the keys still held: let them all go.
EM_BOOL on_blur(int /*event_type*/, const EmscriptenFocusEvent* /*event*/, void* /*user*/) {
    for (VirtualKey& state : virtual_keys) {
        state.holders = 0;
    }
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

void release_forgotten_taps() {
    for (int key = 1; key < 256; ++key) {
        VirtualKey& state = virtual_keys[key];
        if (state.release_message != 0 && !tap_remembered(state)) {
            state.pressed_since_query = false;
            post_held_back_release(key);
        }
    }
}

// Idle loops (the closing screen, the shut-down state) peek at an empty queue back to back; such
// a peek waits a little, so they do not keep the page busy.
constexpr double kBackToBackMs = 2;
constexpr uint32_t kIdleWaitMs = 3;
double last_pump_ms = 0;

}  // namespace

namespace web {

void post_to_window(uint32_t message, uintptr_t wparam, intptr_t lparam) {
    WindowHandle window = common::live_window();
    if (window != nullptr) {
        post_message(window, message, wparam, lparam);
    }
}

}  // namespace web

namespace backend {

void pump_events() {
    listen_once();
    const bool idle =
        common::message_queue_empty() && emscripten_get_now() - last_pump_ms < kBackToBackMs;
    web::yield_to_browser(idle ? kIdleWaitMs : 0);
    release_forgotten_taps();
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
    if (virtual_key <= 0 || virtual_key > 255) {
        return 0;
    }
    VirtualKey& state = virtual_keys[virtual_key];
    const bool held = state.holders > 0 || tap_remembered(state);
    state.pressed_since_query = false;
    post_held_back_release(virtual_key);
    return held ? INT16_MIN : 0;  // top bit: held
}

}  // namespace platform
