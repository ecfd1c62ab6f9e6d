// Recording and playback of what the game's input polls read, between the devices and the game:
// the recorder writes the keys and joystick each poll was given (after the keyboard's tap
// handling), the playback gives each poll the keys and joystick of its line instead of the
// devices'. The input device marks its polls through platform/input_poll.h. The desktop game's
// --record and --playback and the replay tool all go through here.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/common/input_script.h"

namespace platform::port {

// From now on the polls read the script, and the system time's millisecond field is its seed
// (when it has one). The joystick reads as the recording's: present and resting where it
// rested, or absent. The played keys go down and up with their key messages, as the player's
// would; the window title gains " (playback)" until the script runs out.
void start_playback(Script script);

// Lets go of the keys the playback holds (their key messages are posted), as a player would
// who takes their hands off; the script's remaining lines still play at later polls.
void release_played_keys();

// Opens the recording file and writes its header: `about`, the seed (the playback's, or the
// system time's millisecond now, which the game then reads too) and the joystick the game found
// (or the playback's). False with a one-line message when the file cannot be written.
bool start_recording(const std::string& path, const std::string& about, std::string* error);

// Writes "# end polls=N " and the summary of the game's state after its last poll, and closes
// the recording; false (with a message on stderr) when any part of it could not be written.
// Nothing to do without a recording.
bool finish_recording(const std::string& summary);

// Called at the start of every poll, before anything is read (the replay tool's trace); empty
// to remove.
void on_each_poll(std::function<void()> observer);

// The system time's millisecond field as the game reads it: the session's seed, else the
// machine's.
uint16_t seeded_system_millis();

// True while a playback gives the polls their input.
bool playing_back();

// The window's loss of focus reached the game (its WM_ACTIVATEAPP was dispatched): the
// recording marks the poll it came after, so a playback posts it at the same moment.
void focus_lost_seen();

// Back to no recording, no playback (a fresh process).
void reset_session();

}  // namespace platform::port
