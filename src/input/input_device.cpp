#include "input/input_device.h"

#include <cstring>

#include "platform/input_poll.h"
#include "platform/keyboard.h"

InputState input_state;
InputDevice input_device;

namespace {

// The top bit of the key state means held now; the "pressed since last time" bit is not used.
bool Key_Held(int virtual_key) {
    return platform::async_key_state(virtual_key) < 0;
}

void Clear_State(InputState* state) {
    std::memset(state, 0, sizeof(*state));
}

}  // namespace

InputDevice::InputDevice() {
    Clear_State(&keyboard_state);
    Clear_State(&merged_state);
    Find_Joystick();
    keyboard_present = Init_Keyboard();

    button_masks[0] = 1;
    button_masks[1] = 2;
    button_masks[2] = 4;
    button_masks[3] = 8;
    button_masks[4] = 16;
}

InputDevice::~InputDevice() {
    Clear_State(&joystick_state);
    Clear_State(&keyboard_state);
    Clear_State(&merged_state);
    joystick_present = 0;
    keyboard_present = 0;
    std::memset(&joy_info, 0, sizeof(joy_info));
    std::memset(&joy_caps, 0, sizeof(joy_caps));
}

int InputDevice::Init_Joystick() {
    joy_info.dwSize = sizeof(joy_info);
    joy_info.dwFlags = platform::JOY_RETURNALL;
    if (platform::joy_get_pos_ex(platform::JOYSTICKID1, &joy_info) != platform::JOYERR_NOERROR) {
        return 0;
    }

    // A failed capabilities query leaves the ranges zero, so the dead zones are zero too.
    platform::joy_get_dev_caps(platform::JOYSTICKID1, &joy_caps);

    // A quarter of the full range: half way from the middle to either end.
    dead_zone_x = int32_t((joy_caps.wXmax - joy_caps.wXmin) >> 2);
    dead_zone_y = int32_t((joy_caps.wYmax - joy_caps.wYmin) >> 2);

    // Whatever the stick reports now is its rest position for the whole run.
    centre_x = joy_info.dwXpos;
    centre_y = joy_info.dwYpos;
    return 1;
}

void InputDevice::Find_Joystick() {
    Clear_State(&joystick_state);
    std::memset(&joy_info, 0, sizeof(joy_info));
    std::memset(&joy_caps, 0, sizeof(joy_caps));
    dead_zone_x = 0;
    dead_zone_y = 0;
    centre_x = 0;
    centre_y = 0;
    joystick_present = Init_Joystick();
}

int InputDevice::Init_Keyboard() {
    return 1;
}

int InputDevice::Read_Joystick() {
    joy_info.dwSize = sizeof(joy_info);
    joy_info.dwFlags = platform::JOY_RETURNALL;
    if (platform::joy_get_pos_ex(platform::JOYSTICKID1, &joy_info) != platform::JOYERR_NOERROR) {
        return 0;
    }

    int32_t deflection_x = int32_t(joy_info.dwXpos - centre_x);
    int32_t deflection_y = int32_t(joy_info.dwYpos - centre_y);
    int32_t dx = 0;
    int32_t dy = 0;
    uint32_t buttons = 0;

    if (deflection_x > dead_zone_x) {
        dx = 1;
        buttons |= INPUT_RIGHT;
    } else if (deflection_x < -dead_zone_x) {
        dx = -1;
        buttons |= INPUT_LEFT;
    }

    // A larger y reading is further down.
    if (deflection_y > dead_zone_y) {
        dy = 1;
        buttons |= INPUT_DOWN;
    } else if (deflection_y < -dead_zone_y) {
        dy = -1;
        buttons |= INPUT_UP;
    }

    if (joy_info.dwButtons & button_masks[0]) {
        buttons |= INPUT_BUTTON_1;
    }
    if (joy_info.dwButtons & button_masks[1]) {
        buttons |= INPUT_BUTTON_2;
    }
    if (joy_info.dwButtons & button_masks[2]) {
        buttons |= INPUT_SELECT;
    }
    if (joy_info.dwButtons & button_masks[3]) {
        buttons |= INPUT_PAUSE;
    }
    if (joy_info.dwButtons & button_masks[4]) {
        buttons |= INPUT_MENU;
    }

    joystick_state.reserved_1 = 0;
    joystick_state.reserved_2 = 0;
    joystick_state.dx = dx;
    joystick_state.dy = dy;
    joystick_state.buttons = buttons;
    return 1;
}

int InputDevice::Read_Keyboard() {
    keyboard_state.reserved_1 = 0;
    keyboard_state.reserved_2 = 0;
    keyboard_state.buttons = 0;

    // Down wins over Up, Right over Left: the loser is not even asked.
    if (Key_Held(platform::VK_DOWN)) {
        keyboard_state.dy = 1;
        keyboard_state.buttons |= INPUT_DOWN;
    } else if (Key_Held(platform::VK_UP)) {
        keyboard_state.dy = -1;
        keyboard_state.buttons |= INPUT_UP;
    } else {
        keyboard_state.dy = 0;
    }

    if (Key_Held(platform::VK_RIGHT)) {
        keyboard_state.dx = 1;
        keyboard_state.buttons |= INPUT_RIGHT;
    } else if (Key_Held(platform::VK_LEFT)) {
        keyboard_state.dx = -1;
        keyboard_state.buttons |= INPUT_LEFT;
    } else {
        keyboard_state.dx = 0;
    }

    if (Key_Held(platform::VK_RETURN) || Key_Held(platform::VK_SPACE)) {
        keyboard_state.buttons |= INPUT_SELECT;
    }
    if (Key_Held(platform::VK_ESCAPE)) {
        keyboard_state.buttons |= INPUT_MENU;
    }
    if (Key_Held(platform::VK_A)) {
        keyboard_state.buttons |= INPUT_BUTTON_1;
    }
    if (Key_Held(platform::VK_S)) {
        keyboard_state.buttons |= INPUT_BUTTON_2;
    }
    if (Key_Held(platform::VK_P)) {
        keyboard_state.buttons |= INPUT_PAUSE;
    }
    return 1;
}

int InputDevice::Poll(InputState* state) {
    // A recording played back brings the joystick it had, and the player's own is back when it
    // runs out.
    if (platform::input_source_changed()) {
        Find_Joystick();
    }
    platform::input_poll_begins();
    Clear_State(&joystick_state);
    Clear_State(&keyboard_state);
    Clear_State(&merged_state);

    if (joystick_present) {
        Read_Joystick();
    }
    if (keyboard_present) {
        Read_Keyboard();
    }

    merged_state.dx = keyboard_state.dx + joystick_state.dx;
    merged_state.dy = keyboard_state.dy + joystick_state.dy;
    merged_state.buttons = keyboard_state.buttons | joystick_state.buttons;

    *state = merged_state;
    platform::input_poll_ends();
    return 1;
}
