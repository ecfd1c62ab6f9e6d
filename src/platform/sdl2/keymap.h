// Keys as the Windows virtual-key codes the game and its window messages use. The game's ten
// keys come from the player's bindings, by the key's label on the keyboard's layout (SDL key
// codes); every other key the window messages need keeps its fixed code.
#pragma once
#include <SDL.h>

namespace platform::port {
struct Settings;
}

namespace platform::sdl2 {

using port::Settings;

constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;  // Alt
constexpr int VK_PAUSE = 0x13;
constexpr int VK_F1 = 0x70;

// Takes the key bindings of the settings (names SDL does not know bind nothing).
void set_key_bindings(const Settings& settings);

// The virtual key of a key, or 0 for keys nothing here needs. With Alt held, Enter and F4
// keep their own codes whatever is bound, for the full-screen switch and the close.
int virtual_key(SDL_Keycode key, SDL_Scancode scancode, bool alt);

}  // namespace platform::sdl2
