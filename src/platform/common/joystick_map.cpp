#include "platform/common/joystick_map.h"

namespace platform {

namespace {

void set_common_fields(backend::JoystickNow* now, uint32_t x, uint32_t y, uint32_t buttons) {
    now->x = x;
    now->y = y;
    now->buttons = buttons;
}

uint32_t dpad_or_stick(bool low, bool high, int16_t stick) {
    if (low != high) {
        return low ? 0 : kAxisMax;
    }
    return axis_position(stick);
}

}  // namespace

uint32_t axis_position(int16_t value) {
    return uint32_t(int32_t(value) + 32768);
}

void map_gamepad(const GamepadReading& pad, const PadBindings& bindings,
                 backend::JoystickNow* now) {
    uint32_t buttons = 0;
    for (int b = 0; b < kPadButtonCount; ++b) {
        buttons |= pad.held[b] ? bindings.joystick_buttons[b] : 0u;
    }
    const bool* held = pad.held;
    set_common_fields(now, dpad_or_stick(held[kPadDpadLeft], held[kPadDpadRight], pad.left_x),
                      dpad_or_stick(held[kPadDpadUp], held[kPadDpadDown], pad.left_y), buttons);
}

void map_joystick(const JoystickReading& stick, backend::JoystickNow* now) {
    uint32_t buttons = 0;
    for (int i = 0; i < 5; ++i) {
        buttons |= stick.buttons[i] ? 1u << i : 0u;
    }
    uint32_t x = stick.axis_count >= 1 ? axis_position(stick.axis0) : axis_position(0);
    uint32_t y = stick.axis_count >= 2 ? axis_position(stick.axis1) : axis_position(0);
    set_common_fields(now, x, y, buttons);
}

}  // namespace platform
