// The first joystick, in the units of the Windows multimedia joystick interface.
// May be called during static initialisation, before anything else is set up.
#pragma once
#include <cstdint>

namespace platform {

constexpr uint32_t JOYERR_NOERROR = 0;
constexpr uint32_t JOYERR_PARMS = 165;
constexpr uint32_t JOYERR_UNPLUGGED = 167;
constexpr uint32_t JOY_RETURNALL = 0xFF;
constexpr uint32_t JOYSTICKID1 = 0;

// Position record, 52 bytes like its Windows counterpart.
struct JoyInfoEx {
    uint32_t dwSize;
    uint32_t dwFlags;
    uint32_t dwXpos;
    uint32_t dwYpos;
    uint32_t dwZpos;
    uint32_t dwRpos;
    uint32_t dwUpos;
    uint32_t dwVpos;
    uint32_t dwButtons;
    uint32_t dwButtonNumber;
    uint32_t dwPOV;
    uint32_t dwReserved1;
    uint32_t dwReserved2;
};
static_assert(sizeof(JoyInfoEx) == 52, "position record is 52 bytes");

// The capabilities the game reads: axis ranges and button count.
struct JoyCaps {
    uint32_t wXmin;
    uint32_t wXmax;
    uint32_t wYmin;
    uint32_t wYmax;
    uint32_t wNumButtons;
};

// Fills dwXpos, dwYpos (0..65535) and dwButtons (bit 0 = button 1); JOYERR_NOERROR or an error.
uint32_t joy_get_pos_ex(uint32_t joystick_id, JoyInfoEx* info);

// Fills the capabilities; JOYERR_NOERROR or an error (caps untouched then).
uint32_t joy_get_dev_caps(uint32_t joystick_id, JoyCaps* caps);

}  // namespace platform
