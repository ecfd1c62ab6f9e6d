// Keyboard state by Windows virtual-key code.
#pragma once
#include <cstdint>

namespace platform {

constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;  // Alt
constexpr int VK_PAUSE = 0x13;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_F1 = 0x70;
constexpr int VK_F4 = 0x73;
constexpr int VK_F10 = 0x79;
constexpr int VK_A = 0x41;
constexpr int VK_P = 0x50;
constexpr int VK_S = 0x53;

// Top bit (0x8000) set while the key is held; 0 for keys the backend does not know.
int16_t async_key_state(int virtual_key);

}  // namespace platform
