// Keys by the browser's key codes (the key's position), as the shared keyboard's events: the
// code's place in the table below is the key's code for the player's bindings, named as the
// settings file names keys. The browser delivers them while the game waits.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <strings.h>

#include <cstring>

#include "platform/common/backend.h"
#include "platform/common/key_taps.h"
#include "platform/common/keyboard_internal.h"
#include "platform/common/window_internal.h"
#include "platform/keyboard.h"
#include "platform/web/web_backend.h"

namespace platform {

namespace {

struct CodeKey {
    const char* code;  // the browser's
    const char* name;  // the settings file's
    int key;           // the virtual key it gives unbound
};
constexpr CodeKey kCodes[] = {
    {"ArrowLeft", "Left", VK_LEFT},
    {"ArrowRight", "Right", VK_RIGHT},
    {"ArrowUp", "Up", VK_UP},
    {"ArrowDown", "Down", VK_DOWN},
    {"Enter", "Return", VK_RETURN},
    {"NumpadEnter", "Keypad Enter", VK_RETURN},
    {"Space", "Space", VK_SPACE},
    {"Escape", "Escape", VK_ESCAPE},
    {"AltLeft", "Left Alt", VK_MENU},
    {"AltRight", "Right Alt", VK_MENU},
    {"F4", "F4", VK_F4},
};
constexpr int kLetterCodes = 1000;  // KeyA ... KeyZ are codes kLetterCodes + 'A' ... 'Z'

// The key's code for the bindings and its slot: letters after the table's keys.
int key_code(const char* code) {
    if (std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z' && code[4] == 0) {
        return kLetterCodes + code[3];
    }
    for (size_t i = 0; i < std::size(kCodes); ++i) {
        if (std::strcmp(code, kCodes[i].code) == 0) {
            return int(i) + 1;
        }
    }
    return 0;
}

int fixed_key(int code) {
    if (code > kLetterCodes) {
        return code - kLetterCodes;
    }
    return code > 0 ? kCodes[code - 1].key : 0;
}

int slot_of(int code) {
    return code > kLetterCodes ? int(std::size(kCodes)) + 1 + code - kLetterCodes - 'A' : code;
}

EM_BOOL on_key(int event_type, const EmscriptenKeyboardEvent* event, void* /*user*/) {
    const int code = key_code(event->code);
    if (code == 0) {
        return EM_FALSE;
    }
    common::KeyEvent key;
    key.slot = slot_of(code);
    key.code = code;
    key.fixed_key = fixed_key(code);
    key.down = event_type == EMSCRIPTEN_EVENT_KEYDOWN;
    key.repeat = event->repeat;
    key.alt = event->altKey;
    // Inside the key's own handler, where the browser allows full screen (Alt+Enter).
    common::key_event(key);
    // The page must not scroll or act on the game's keys.
    return EM_TRUE;
}

// A page that loses the focus gets no key-up for the keys still held: let them all go. The game
// pauses, as the desktop's does when its window loses the focus.
EM_BOOL on_blur(int /*event_type*/, const EmscriptenFocusEvent* /*event*/, void* /*user*/) {
    let_go_of_all_keys();
    common::lose_focus();
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

}  // namespace

namespace backend {

void pump_events() {
    listen_once();
    web::yield_to_browser(0);
}

int key_from_name(const std::string& name) {
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') {
        return kLetterCodes + name[0];
    }
    if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'z') {
        return kLetterCodes + name[0] - 'a' + 'A';
    }
    for (size_t i = 0; i < std::size(kCodes); ++i) {
        if (strcasecmp(name.c_str(), kCodes[i].name) == 0) {
            return int(i) + 1;
        }
    }
    return 0;
}

void toggle_fullscreen() {
    EM_ASM({ Module.cellstormToggleFullscreen(); });
}

}  // namespace backend

}  // namespace platform
