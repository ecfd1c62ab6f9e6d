// The first gamepad through the browser's Gamepad API, in the units of the Windows joystick
// interface and with the desktop's button mapping. A browser reveals a gamepad only once the
// player has pressed one of its buttons on the page, long after the game looked for a joystick
// at start-up; so where the page can read gamepads at all, the first one is reported present
// from the start, resting in the middle with nothing pressed until a real one answers.
#include <emscripten/html5.h>

#include <cmath>
#include <cstring>

#include "platform/joystick.h"
#include "platform/sdl2/joystick_map.h"

namespace platform {

namespace {

// The standard layout's button numbers.
enum StandardButton {
    kA = 0,
    kB = 1,
    kBack = 8,
    kStart = 9,
    kUp = 12,
    kDown = 13,
    kLeft = 14,
    kRight = 15
};

bool api_available() {
    static const bool available = emscripten_sample_gamepad_data() == EMSCRIPTEN_RESULT_SUCCESS;
    return available;
}

// The browser's -1 ... 1 as the signed 16-bit value the mapping takes.
int16_t axis_value(const EmscriptenGamepadEvent& pad, int axis) {
    if (axis >= pad.numAxes || !std::isfinite(pad.axis[axis])) {
        return 0;
    }
    double value = std::fmax(-1.0, std::fmin(1.0, pad.axis[axis]));
    return int16_t(std::lround(value * (value < 0 ? 32768.0 : 32767.0)));
}

bool pressed(const EmscriptenGamepadEvent& pad, int button) {
    return button < pad.numButtons && pad.digitalButton[button];
}

// The first connected gamepad, if any.
bool read_first(EmscriptenGamepadEvent* pad) {
    if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) {
        return false;
    }
    const int count = emscripten_get_num_gamepads();
    for (int i = 0; i < count; ++i) {
        if (emscripten_get_gamepad_status(i, pad) == EMSCRIPTEN_RESULT_SUCCESS && pad->connected) {
            return true;
        }
    }
    return false;
}

}  // namespace

uint32_t joy_get_pos_ex(uint32_t joystick_id, JoyInfoEx* info) {
    if (info == nullptr || joystick_id != JOYSTICKID1) {
        return JOYERR_PARMS;
    }
    if (!api_available()) {
        return JOYERR_UNPLUGGED;
    }
    static EmscriptenGamepadEvent pad;
    if (!read_first(&pad)) {
        sdl2::map_gamepad(sdl2::GamepadReading{}, info);
        return JOYERR_NOERROR;
    }
    if (std::strcmp(pad.mapping, "standard") == 0) {
        sdl2::GamepadReading reading;
        reading.left_x = axis_value(pad, 0);
        reading.left_y = axis_value(pad, 1);
        reading.dpad_left = pressed(pad, kLeft);
        reading.dpad_right = pressed(pad, kRight);
        reading.dpad_up = pressed(pad, kUp);
        reading.dpad_down = pressed(pad, kDown);
        reading.a = pressed(pad, kA);
        reading.b = pressed(pad, kB);
        reading.start = pressed(pad, kStart);
        reading.back = pressed(pad, kBack);
        sdl2::map_gamepad(reading, info);
        return JOYERR_NOERROR;
    }
    sdl2::JoystickReading reading;
    reading.axis_count = pad.numAxes;
    reading.axis0 = axis_value(pad, 0);
    reading.axis1 = axis_value(pad, 1);
    for (int i = 0; i < 5; ++i) {
        reading.buttons[i] = pressed(pad, i);
    }
    sdl2::map_joystick(reading, info);
    return JOYERR_NOERROR;
}

uint32_t joy_get_dev_caps(uint32_t joystick_id, JoyCaps* caps) {
    if (caps == nullptr || joystick_id != JOYSTICKID1) {
        return JOYERR_PARMS;
    }
    if (!api_available()) {
        return JOYERR_UNPLUGGED;
    }
    caps->wXmin = 0;
    caps->wXmax = sdl2::kAxisMax;
    caps->wYmin = 0;
    caps->wYmax = sdl2::kAxisMax;
    caps->wNumButtons = 5;
    return JOYERR_NOERROR;
}

}  // namespace platform
