// A joystick or gamepad read through SDL, in the units of the Windows joystick interface:
// axes 0 ... 65535 resting in the middle, buttons as bits (bit 0 = button 1).
#pragma once
#include <cstdint>

#include <SDL.h>

#include "platform/joystick.h"
#include "platform/sdl2/settings.h"

namespace platform::sdl2 {

constexpr uint32_t kAxisMax = 65535;

// SDL's signed axis value (-32768 ... 32767) as a position 0 ... 65535.
uint32_t axis_position(int16_t value);

// What a recognised gamepad has that the game uses.
struct GamepadReading {
    int16_t left_x = 0;
    int16_t left_y = 0;
    bool held[SDL_CONTROLLER_BUTTON_MAX] = {};
};

// For each gamepad button, the game's joystick buttons it gives (bit 0 = button 1).
struct PadBindings {
    uint32_t joystick_buttons[SDL_CONTROLLER_BUTTON_MAX] = {};
};
PadBindings pad_bindings(const Settings& settings);

// The left stick and the d-pad give the axes (the d-pad wins, full deflection); the buttons
// as bound (by default A is buttons 2 and 3, turn clockwise in play and select in the menu,
// B button 1, turn counter-clockwise, Start button 4, pause, and Back button 5, menu).
void map_gamepad(const GamepadReading& pad, const PadBindings& bindings, JoyInfoEx* info);

// An unrecognised joystick: its axes 0 and 1, and its buttons 0 ... 4 as buttons 1 ... 5.
// A missing axis rests in the middle; an empty reading is a joystick at rest.
struct JoystickReading {
    int axis_count = 0;
    int16_t axis0 = 0;
    int16_t axis1 = 0;
    bool buttons[5] = {};
};
void map_joystick(const JoystickReading& stick, JoyInfoEx* info);

}  // namespace platform::sdl2
