// The first gamepad through the browser's Gamepad API, in the units of the Windows joystick
// interface and with the player's button bindings. A browser reveals a gamepad only once the
// player has pressed one of its buttons on the page, long after the game looked for a joystick
// at start-up; so where the page can read gamepads at all, the first one is reported present
// from the start, resting in the middle with nothing pressed until a real one answers.
#include <emscripten/html5.h>

#include <cmath>
#include <cstring>
#include <utility>

#include "platform/common/backend.h"
#include "platform/common/joystick_map.h"
#include "platform/port/bindings.h"

namespace platform {

namespace {

// The browser's standard layout numbers its buttons otherwise than the shared pad does.
constexpr std::pair<int, PadButton> kStandardButtons[] = {{0, kPadA},
                                                          {1, kPadB},
                                                          {2, kPadX},
                                                          {3, kPadY},
                                                          {4, kPadLeftShoulder},
                                                          {5, kPadRightShoulder},
                                                          {8, kPadBack},
                                                          {9, kPadStart},
                                                          {10, kPadLeftStick},
                                                          {11, kPadRightStick},
                                                          {12, kPadDpadUp},
                                                          {13, kPadDpadDown},
                                                          {14, kPadDpadLeft},
                                                          {15, kPadDpadRight},
                                                          {16, kPadGuide}};

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

bool backend::read_joystick(JoystickNow* now) {
    if (!api_available()) {
        return false;
    }
    static EmscriptenGamepadEvent pad;
    if (!read_first(&pad)) {
        map_gamepad(GamepadReading{}, port::pad_bindings(), now);
    } else if (std::strcmp(pad.mapping, "standard") == 0) {
        GamepadReading reading;
        reading.left_x = axis_value(pad, 0);
        reading.left_y = axis_value(pad, 1);
        for (const auto& [web, button] : kStandardButtons) {
            reading.held[button] = pressed(pad, web);
        }
        map_gamepad(reading, port::pad_bindings(), now);
    } else {
        JoystickReading reading;
        reading.axis_count = pad.numAxes;
        reading.axis0 = axis_value(pad, 0);
        reading.axis1 = axis_value(pad, 1);
        for (int i = 0; i < 5; ++i) {
            reading.buttons[i] = pressed(pad, i);
        }
        map_joystick(reading, now);
    }
    now->button_count = 5;
    return true;
}

}  // namespace platform
