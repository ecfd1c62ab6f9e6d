// A gamepad or joystick reading in the units of the Windows joystick interface: axes 0 ... 65535
// resting in the middle, buttons as bits (bit 0 = button 1). Shared by every backend, so a pad's
// buttons mean the same on the desktop and in the browser.
#pragma once
#include <cstdint>

#include "platform/common/backend.h"
#include "platform/joystick.h"

namespace platform {

constexpr uint32_t kAxisMax = 65535;

// A signed axis value (-32768 ... 32767) as a position 0 ... 65535.
uint32_t axis_position(int16_t value);

// The buttons of a gamepad in the standard layout, numbered as SDL numbers them.
enum PadButton {
    kPadA = 0,
    kPadB = 1,
    kPadX = 2,
    kPadY = 3,
    kPadBack = 4,
    kPadGuide = 5,
    kPadStart = 6,
    kPadLeftStick = 7,
    kPadRightStick = 8,
    kPadLeftShoulder = 9,
    kPadRightShoulder = 10,
    kPadDpadUp = 11,
    kPadDpadDown = 12,
    kPadDpadLeft = 13,
    kPadDpadRight = 14,
    kPadButtonCount = 21
};

// What a recognised gamepad has that the game uses.
struct GamepadReading {
    int16_t left_x = 0;
    int16_t left_y = 0;
    bool held[kPadButtonCount] = {};
};

// For each gamepad button, the game's joystick buttons it gives (bit 0 = button 1).
struct PadBindings {
    uint32_t joystick_buttons[kPadButtonCount] = {};
};

// The left stick and the d-pad give the axes (the d-pad wins, full deflection); the buttons as
// bound.
void map_gamepad(const GamepadReading& pad, const PadBindings& bindings, backend::JoystickNow* now);

// An unrecognised joystick: its axes 0 and 1, and its buttons 0 ... 4 as buttons 1 ... 5.
// A missing axis rests in the middle; an empty reading is a joystick at rest.
struct JoystickReading {
    int axis_count = 0;
    int16_t axis0 = 0;
    int16_t axis1 = 0;
    bool buttons[5] = {};
};
void map_joystick(const JoystickReading& stick, backend::JoystickNow* now);

}  // namespace platform
