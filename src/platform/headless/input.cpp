// Scripted keyboard and joystick.
#include "platform/common/backend.h"
#include "platform/common/keyboard_internal.h"
#include "platform/headless/state.h"
#include "platform/keyboard.h"

namespace platform {
namespace {

using headless::detail::state;

bool valid_key(int virtual_key) {
    return virtual_key >= 0 && virtual_key < 256;
}

}  // namespace

namespace headless {

void set_key(int virtual_key, bool down) {
    if (!valid_key(virtual_key) || state().keys[size_t(virtual_key)] == down) {
        return;
    }
    state().keys[size_t(virtual_key)] = down;
    // Each virtual key is a physical key of its own, never bound; Alt's own release is reported
    // while it still counts as held, as Windows does.
    common::KeyEvent event;
    event.slot = virtual_key;
    event.fixed_key = virtual_key;
    event.down = down;
    event.alt = state().keys[VK_MENU] || virtual_key == VK_MENU;
    common::key_event(event);
}
bool key_down(int virtual_key) {
    return valid_key(virtual_key) && state().keys[size_t(virtual_key)];
}

void release_all_keys() {
    for (int key = 0; key < 256; ++key) {
        set_key(key, false);
    }
}

void set_joystick_present(bool present) {
    detail::Joystick& stick = state().joystick;
    if (present && !stick.present) {
        stick = detail::Joystick{};
    }
    stick.present = present;
}

void set_joystick_position(uint32_t x, uint32_t y, uint32_t buttons) {
    state().joystick.x = x;
    state().joystick.y = y;
    state().joystick.buttons = buttons;
}
}  // namespace headless
}  // namespace platform
