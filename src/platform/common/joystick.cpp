// The first joystick as the Windows joystick calls report it, over the backend's reading.
#include "platform/common/joystick_internal.h"

#include <cstring>

#include "platform/common/backend.h"
#include "platform/common/joystick_map.h"

namespace platform::common {

namespace {

constexpr uint32_t kPovCentred = 0xFFFF;

}  // namespace

uint32_t live_joystick_position(uint32_t joystick_id, JoyInfoEx* info) {
    if (backend::step_fails(backend::Step::JoystickPosition)) {
        return JOYERR_UNPLUGGED;
    }
    if (joystick_id != JOYSTICKID1 || info == nullptr || info->dwSize != sizeof(JoyInfoEx)) {
        return JOYERR_PARMS;
    }
    backend::JoystickNow now;
    if (!backend::read_joystick(&now)) {
        return JOYERR_UNPLUGGED;
    }
    fill_position(now.x, now.y, now.buttons, info);
    return JOYERR_NOERROR;
}

uint32_t live_joystick_caps(uint32_t joystick_id, JoyCaps* caps) {
    if (backend::step_fails(backend::Step::JoystickCaps)) {
        return JOYERR_UNPLUGGED;
    }
    if (joystick_id != JOYSTICKID1 || caps == nullptr) {
        return JOYERR_PARMS;
    }
    backend::JoystickNow now;
    if (!backend::read_joystick(&now)) {
        return JOYERR_UNPLUGGED;
    }
    *caps = JoyCaps{0, kAxisMax, 0, kAxisMax, now.button_count};
    return JOYERR_NOERROR;
}

void fill_position(uint32_t x, uint32_t y, uint32_t buttons, JoyInfoEx* info) {
    const uint32_t size = info->dwSize;
    const uint32_t flags = info->dwFlags;
    std::memset(info, 0, sizeof(*info));
    info->dwSize = size;
    info->dwFlags = flags;
    info->dwXpos = x;
    info->dwYpos = y;
    info->dwButtons = buttons;
    for (uint32_t bits = buttons; bits != 0; bits &= bits - 1) {
        ++info->dwButtonNumber;
    }
    info->dwPOV = kPovCentred;
}

}  // namespace platform::common
