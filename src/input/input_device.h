// Keyboard and first joystick, folded into one record of directions and button bits per poll.
#pragma once
#include <cstdint>

#include "platform/joystick.h"

// Bits of InputState::buttons. They are levels: a held key sets its bit in every poll.
constexpr uint32_t INPUT_PAUSE = 0x001;
constexpr uint32_t INPUT_MENU = 0x002;
constexpr uint32_t INPUT_BUTTON_2 = 0x004;
constexpr uint32_t INPUT_BUTTON_1 = 0x008;
constexpr uint32_t INPUT_RIGHT = 0x010;
constexpr uint32_t INPUT_LEFT = 0x020;
constexpr uint32_t INPUT_UP = 0x040;
constexpr uint32_t INPUT_DOWN = 0x080;
constexpr uint32_t INPUT_SELECT = 0x100;

struct InputState {
    int32_t reserved_1;  // no source fills these two and nothing reads them
    int32_t reserved_2;
    int32_t dx;  // keyboard -1/0/+1 plus joystick -1/0/+1; + is right
    int32_t dy;  // the same; + is down
    uint32_t buttons;
};

// The last poll, for the game rules and the menu.
extern InputState input_state;

class InputDevice {
  public:
    // Looks for joystick 1 once; a joystick plugged in later is never used.
    InputDevice();
    ~InputDevice();

    // Reads both sources, merges them and copies the result into *state. Always 1.
    int Poll(InputState* state);

    InputState joystick_state;
    InputState keyboard_state;
    InputState merged_state;
    int32_t joystick_present;
    int32_t keyboard_present;
    platform::JoyInfoEx joy_info;
    platform::JoyCaps joy_caps;
    int32_t dead_zone_x;
    int32_t dead_zone_y;
    uint32_t centre_x;  // the stick's rest position, read at start-up
    uint32_t centre_y;
    uint32_t button_masks[5];

  private:
    int Init_Joystick();
    // Forgets the joystick and looks for it again, as the constructor does.
    void Find_Joystick();
    int Init_Keyboard();
    int Read_Joystick();
    int Read_Keyboard();
};

// The one reader, built by static initialisation before the game starts.
extern InputDevice input_device;
