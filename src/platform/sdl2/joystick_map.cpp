#include "platform/sdl2/joystick_map.h"

namespace platform::sdl2 {

PadBindings pad_bindings(const Settings& settings) {
    PadBindings bindings;
    for (int i = 0; i < kJoyButtonCount; ++i) {
        for (const std::string& name : settings.pad_buttons[i]) {
            SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(name.c_str());
            if (button != SDL_CONTROLLER_BUTTON_INVALID) {
                bindings.joystick_buttons[button] |= 1u << i;
            }
        }
    }
    return bindings;
}

}  // namespace platform::sdl2
