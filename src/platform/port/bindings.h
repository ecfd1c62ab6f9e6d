// The player's key and gamepad bindings, built once from the settings and used by every
// backend's keys and pad: the game's ten keys by the backend's key codes (names through
// backend::key_from_name), the game's five joystick buttons by gamepad buttons.
#pragma once
#include <vector>

#include "platform/common/joystick_map.h"

namespace platform::port {

struct Settings;

// Takes the bindings of the settings; names nobody knows bind nothing.
void set_bindings(const Settings& settings);

// The virtual keys a key gives, one for each of the game's keys bound to it, as that many keys
// held would: code as backend::key_from_name gives it (0: the key is never bound, so it gives
// its fixed key), fixed_key what it gives by itself (none when that is 0). With Alt held, Enter
// and F4 keep their own codes whatever is bound, for the full-screen switch and the close.
std::vector<int> virtual_keys(int code, int fixed_key, bool alt);

// The gamepad's buttons as the game's joystick buttons.
const PadBindings& pad_bindings();

}  // namespace platform::port
