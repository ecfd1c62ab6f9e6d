#include "platform/port/bindings.h"

#include <algorithm>
#include <vector>

#include "platform/keyboard.h"
#include "platform/port/pad_buttons.h"
#include "platform/port/settings.h"

namespace platform::port {

namespace {

struct KeyBinding {
    int code;
    int virtual_key;
};

struct Bindings {
    bool set = false;
    std::vector<KeyBinding> keys;
    PadBindings pad;
};

Bindings& bindings() {
    static Bindings state;
    if (!state.set) {
        state.set = true;
        set_bindings(default_settings());
    }
    return state;
}

bool is_game_key(int virtual_key) {
    for (const GameKey& game_key : kGameKeys) {
        if (game_key.virtual_key == virtual_key) {
            return true;
        }
    }
    return false;
}

}  // namespace

void set_bindings(const Settings& settings) {
    Bindings& b = bindings();
    b.keys.clear();
    for (int i = 0; i < kGameKeyCount; ++i) {
        for (const std::string& name : settings.keys[i]) {
            const int code = key_code(name);
            if (code != 0) {
                b.keys.push_back({code, kGameKeys[i].virtual_key});
            }
        }
    }
    b.pad = PadBindings();
    for (int i = 0; i < kJoyButtonCount; ++i) {
        for (const std::string& name : settings.pad_buttons[i]) {
            const int button = pad_button_from_name(name);
            if (button >= 0) {
                b.pad.joystick_buttons[button] |= 1u << i;
            }
        }
    }
}

std::vector<int> virtual_keys(int code, int fixed_key, bool alt) {
    if (code == 0 || (alt && (fixed_key == VK_RETURN || fixed_key == VK_F4))) {
        return fixed_key != 0 ? std::vector<int>{fixed_key} : std::vector<int>();
    }
    std::vector<int> keys;
    for (const KeyBinding& binding : bindings().keys) {
        if (binding.code == code &&
            std::find(keys.begin(), keys.end(), binding.virtual_key) == keys.end()) {
            keys.push_back(binding.virtual_key);
        }
    }
    // A game key nobody bound to this key is not given by it.
    if (keys.empty() && fixed_key != 0 && !is_game_key(fixed_key)) {
        keys.push_back(fixed_key);
    }
    return keys;
}

const PadBindings& pad_bindings() {
    return bindings().pad;
}

}  // namespace platform::port
