// Scripted keyboard and joystick.
#include "platform/common/window_internal.h"
#include "platform/headless/state.h"
#include "platform/input_poll.h"
#include "platform/keyboard.h"

namespace platform {
namespace {

using headless::detail::state;

bool valid_key(int virtual_key) {
    return virtual_key >= 0 && virtual_key < 256;
}

// Key message bits: bit 29 Alt held, bit 30 the key was down before, bit 31 it is going up.
void post_key_message(int virtual_key, bool down) {
    WindowHandle window = common::live_window();
    if (window == nullptr) {
        return;
    }
    bool alt = state().keys[headless::VK_MENU];
    bool system = alt || virtual_key == headless::VK_MENU;
    intptr_t lparam = 1;
    if (alt) {
        lparam |= intptr_t(1) << 29;
    }
    if (!down) {
        lparam |= (intptr_t(1) << 30) | (intptr_t(1) << 31);
    }
    uint32_t message =
        down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    post_message(window, message, uintptr_t(virtual_key), lparam);
}

}  // namespace

int16_t async_key_state(int virtual_key) {
    headless::detail::pass_time(1);
    if (!valid_key(virtual_key)) {
        return 0;
    }
    return state().keys[size_t(virtual_key)] ? int16_t(-0x8000) : int16_t(0);
}

uint32_t joy_get_pos_ex(uint32_t joystick_id, JoyInfoEx* info) {
    if (backend::step_fails(backend::Step::JoystickPosition)) {
        return JOYERR_UNPLUGGED;
    }
    if (joystick_id != JOYSTICKID1 || info == nullptr || info->dwSize != sizeof(JoyInfoEx)) {
        return JOYERR_PARMS;
    }
    const headless::detail::Joystick& stick = state().joystick;
    if (!stick.present) {
        return JOYERR_UNPLUGGED;
    }
    uint32_t flags = info->dwFlags;
    *info = JoyInfoEx{};
    info->dwSize = sizeof(JoyInfoEx);
    info->dwFlags = flags;
    info->dwXpos = stick.x;
    info->dwYpos = stick.y;
    info->dwButtons = stick.buttons;
    info->dwButtonNumber = uint32_t(__builtin_popcount(stick.buttons));
    info->dwPOV = 0xFFFF;  // centred
    return JOYERR_NOERROR;
}

uint32_t joy_get_dev_caps(uint32_t joystick_id, JoyCaps* caps) {
    if (backend::step_fails(backend::Step::JoystickCaps)) {
        return JOYERR_UNPLUGGED;
    }
    if (joystick_id != JOYSTICKID1 || caps == nullptr) {
        return JOYERR_PARMS;
    }
    if (!state().joystick.present) {
        return JOYERR_UNPLUGGED;
    }
    *caps = state().joystick.caps;
    return JOYERR_NOERROR;
}

// The replay tool feeds its polls through the input device's own hook instead.
bool input_source_changed() {
    return false;
}

void input_poll_begins() {}

void input_poll_ends() {}

namespace headless {

void set_key(int virtual_key, bool down) {
    if (!valid_key(virtual_key) || state().keys[size_t(virtual_key)] == down) {
        return;
    }
    // Alt's own release is reported while it is still counted as held, as Windows does.
    if (!down) {
        post_key_message(virtual_key, false);
        state().keys[size_t(virtual_key)] = false;
        return;
    }
    state().keys[size_t(virtual_key)] = true;
    post_key_message(virtual_key, true);
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

void set_joystick_caps(const JoyCaps& caps) {
    state().joystick.caps = caps;
}

}  // namespace headless
}  // namespace platform
