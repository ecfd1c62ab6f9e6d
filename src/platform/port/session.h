// Recording and playback of what the game's input polls read, at the seam: the recorder writes
// the keys and joystick each poll was given (after the keyboard's tap handling), the playback
// gives each poll the keys and joystick of its line instead of the devices'. The polls are
// marked by the input device through platform/input_poll.h.
#pragma once
#include <string>

#include "platform/common/input_script.h"

namespace platform::port {

// From now on the polls read the script, and the system time's millisecond field is its seed
// (when it has one). The joystick reads as the recording's: present and resting where it
// rested, or absent. The window title gains " (playback)".
void start_playback(const Script& script);

// Opens the recording file and writes its header: `about`, the seed (the playback's, or the
// system time's millisecond now, which the game then reads too) and the joystick the game found
// (or the playback's). False with a one-line message when the file cannot be written.
bool start_recording(const std::string& path, const std::string& about, std::string* error);

// Writes "# end polls=N " and the summary of the game's state after its last poll, and closes
// the recording; false (with a message on stderr) when any part of it could not be written.
// Nothing to do without a recording.
bool finish_recording(const std::string& summary);

}  // namespace platform::port
