// The joystick as the devices give it, for the recording and playback that stand between them
// and the game (platform/port/session.cpp).
#pragma once
#include <cstdint>

#include "platform/joystick.h"

namespace platform::common {

constexpr uint32_t JOYSTICK_AXIS_MAX = 65535;

// The seam's joystick calls on the live device.
uint32_t live_joystick_position(uint32_t joystick_id, JoyInfoEx* info);
uint32_t live_joystick_caps(uint32_t joystick_id, JoyCaps* caps);

// A position record with the size and flags the caller put in it.
void fill_position(uint32_t x, uint32_t y, uint32_t buttons, JoyInfoEx* info);

}  // namespace platform::common
