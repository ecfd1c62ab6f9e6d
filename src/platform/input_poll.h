// Where each poll of the input device begins and ends, for a backend that records or plays back
// what the polls read (the desktop game's --record and --playback). Elsewhere nothing happens.
#pragma once

namespace platform {

// Called first in each poll. True when the input comes from elsewhere from this poll on (a
// playback starts, or has run out and the player's own devices are back): the joystick is then
// looked for again, as at start-up.
bool input_source_changed();

// Around the reads of the keys and the joystick that make up one poll.
void input_poll_begins();
void input_poll_ends();

}  // namespace platform
