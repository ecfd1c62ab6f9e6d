// What the pieces of the web backend share among themselves (not part of the seam).
#pragma once
#include <cstdint>

namespace platform::web {

// Hands the browser its thread for at least ms milliseconds (0: just long enough for waiting
// events, timers and sound to run). The picture waiting to be shown is drawn first: the page
// shows nothing new until the game yields anyway.
void yield_to_browser(uint32_t ms);

// display.cpp: draws the newest picture onto the page's canvas if one waits.
void present_if_waiting();

// audio.cpp: until the page may play sound, voices still move on with the clock, so a sound
// the game waits for ends on time.
void advance_silent_audio();

}  // namespace platform::web
