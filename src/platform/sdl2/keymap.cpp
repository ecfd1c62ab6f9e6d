#include "platform/sdl2/keymap.h"

#include <vector>

#include "platform/common/backend.h"
#include "platform/keyboard.h"
#include "platform/port/settings.h"

namespace platform::sdl2 {

using namespace port;

namespace {

struct Binding {
    SDL_Keycode key;
    int virtual_key;
};
std::vector<Binding> bindings;
bool bindings_set = false;

bool is_game_key(int vk) {
    for (const GameKey& game_key : kGameKeys) {
        if (game_key.virtual_key == vk) {
            return true;
        }
    }
    return false;
}

// The fixed code of a key: letters and digits by their label, the rest by position.
int fixed_virtual_key(SDL_Keycode key, SDL_Scancode scancode) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return 'A' + (key - SDLK_a);
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return '0' + (key - SDLK_0);
    }
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) {
        return VK_F1 + (scancode - SDL_SCANCODE_F1);
    }
    switch (scancode) {
        case SDL_SCANCODE_RETURN:
        case SDL_SCANCODE_RETURN2:
        case SDL_SCANCODE_KP_ENTER:
            return VK_RETURN;
        case SDL_SCANCODE_ESCAPE:
            return VK_ESCAPE;
        case SDL_SCANCODE_SPACE:
            return VK_SPACE;
        case SDL_SCANCODE_LEFT:
            return VK_LEFT;
        case SDL_SCANCODE_UP:
            return VK_UP;
        case SDL_SCANCODE_RIGHT:
            return VK_RIGHT;
        case SDL_SCANCODE_DOWN:
            return VK_DOWN;
        case SDL_SCANCODE_BACKSPACE:
            return VK_BACK;
        case SDL_SCANCODE_TAB:
            return VK_TAB;
        case SDL_SCANCODE_LSHIFT:
        case SDL_SCANCODE_RSHIFT:
            return VK_SHIFT;
        case SDL_SCANCODE_LCTRL:
        case SDL_SCANCODE_RCTRL:
            return VK_CONTROL;
        case SDL_SCANCODE_LALT:
        case SDL_SCANCODE_RALT:
            return VK_MENU;
        case SDL_SCANCODE_PAUSE:
            return VK_PAUSE;
        default:
            return 0;
    }
}

}  // namespace

void set_key_bindings(const Settings& settings) {
    bindings.clear();
    for (int i = 0; i < kGameKeyCount; ++i) {
        for (const std::string& name : settings.keys[i]) {
            SDL_Keycode key = SDL_GetKeyFromName(name.c_str());
            if (key != SDLK_UNKNOWN) {
                bindings.push_back({key, kGameKeys[i].virtual_key});
            }
        }
    }
    bindings_set = true;
}

int virtual_key(SDL_Keycode key, SDL_Scancode scancode, bool alt) {
    if (!bindings_set) {
        set_key_bindings(default_settings());
    }
    const int fixed = fixed_virtual_key(key, scancode);
    if (alt && (fixed == VK_RETURN || fixed == VK_F4)) {
        return fixed;
    }
    for (const Binding& binding : bindings) {
        if (binding.key == key) {
            return binding.virtual_key;
        }
    }
    // A game key nobody bound to this key is not given by it.
    return is_game_key(fixed) ? 0 : fixed;
}

}  // namespace platform::sdl2

// Until each backend has its own key names: SDL's.
int platform::backend::key_from_name(const std::string& name) {
    return int(SDL_GetKeyFromName(name.c_str()));
}
