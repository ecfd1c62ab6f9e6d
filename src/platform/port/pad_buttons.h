// Gamepad buttons by the names the settings file gives them.
#pragma once
#include <string>

namespace platform::port {

// The gamepad button (a PadButton) of a name, in any case ("a", "Start", "dpup"); -1 when no
// button has that name.
int pad_button_from_name(const std::string& name);

// Equal but for the case of ASCII letters.
bool same_ignoring_case(const std::string& a, const char* b);

}  // namespace platform::port
