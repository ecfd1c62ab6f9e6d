// A joystick or gamepad read through SDL, in the units of the Windows joystick interface:
// axes 0 ... 65535 resting in the middle, buttons as bits (bit 0 = button 1).
#pragma once
#include <cstdint>

#include "platform/joystick.h"

namespace platform::sdl2 {

constexpr uint32_t kAxisMax = 65535;

// SDL's signed axis value (-32768 ... 32767) as a position 0 ... 65535.
uint32_t axis_position(int16_t value);

// What a recognised gamepad has that the game uses.
struct GamepadReading {
    int16_t left_x = 0;
    int16_t left_y = 0;
    bool dpad_left = false;
    bool dpad_right = false;
    bool dpad_up = false;
    bool dpad_down = false;
    bool a = false;
    bool b = false;
    bool start = false;
    bool back = false;
};

// The left stick and the d-pad give the axes (the d-pad wins, full deflection); A is buttons 2
// and 3 (turn clockwise in play, select in the menu), B button 1 (turn counter-clockwise),
// Start button 4 (pause) and Back button 5 (menu).
void map_gamepad(const GamepadReading& pad, JoyInfoEx* info);

// An unrecognised joystick: its axes 0 and 1, and its buttons 0 ... 4 as buttons 1 ... 5.
// A missing axis rests in the middle.
struct JoystickReading {
    int axis_count = 0;
    int16_t axis0 = 0;
    int16_t axis1 = 0;
    bool buttons[5] = {};
};
void map_joystick(const JoystickReading& stick, JoyInfoEx* info);

}  // namespace platform::sdl2
