// SDL's key events as the shared keyboard's: the key's code for the player's bindings (by the
// label on the key in the keyboard's layout), and the virtual key it gives by itself.
#include "platform/keyboard.h"
#include "platform/common/backend.h"
#include "platform/common/keyboard_internal.h"
#include "platform/port/bindings.h"
#include "platform/sdl2/sdl2_backend.h"

namespace platform {

namespace {

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

static_assert(SDL_NUM_SCANCODES <= common::kKeySlots, "every scancode has a key slot");

}  // namespace

int backend::key_from_name(const std::string& name) {
    return int(SDL_GetKeyFromName(name.c_str()));
}

std::vector<int> sdl2::virtual_keys(SDL_Keycode key, SDL_Scancode scancode, bool alt) {
    return port::virtual_keys(int(key), fixed_virtual_key(key, scancode), alt);
}

void sdl2::handle_key_event(const SDL_KeyboardEvent& event) {
    const SDL_Scancode scancode = event.keysym.scancode;
    if (scancode <= SDL_SCANCODE_UNKNOWN || scancode >= SDL_NUM_SCANCODES) {
        return;
    }
    common::KeyEvent key;
    key.slot = int(scancode);
    key.code = int(event.keysym.sym);
    key.fixed_key = fixed_virtual_key(event.keysym.sym, scancode);
    key.down = event.type == SDL_KEYDOWN;
    key.repeat = event.repeat != 0;
    key.alt = (event.keysym.mod & KMOD_ALT) != 0;
    common::key_event(key);
}

}  // namespace platform
