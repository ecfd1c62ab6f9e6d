// Physical keys (SDL scancodes) as the Windows virtual-key codes the game and its window
// messages use.
#pragma once
#include <SDL.h>

namespace platform::sdl2 {

constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;  // Alt
constexpr int VK_PAUSE = 0x13;
constexpr int VK_F1 = 0x70;

// The virtual key of a scancode, or 0 for keys nothing here needs.
int virtual_key(SDL_Scancode scancode);

}  // namespace platform::sdl2
