// Helpers for tests of the game flow and whole runs: a fresh platform with a data directory, the
// window and display WinMain would make, and the sound log read by sound id.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/audio.h"
#include "platform/headless/control.h"

// A fresh platform that finds its data files in data_dir and seeds with millis.
void app_start_platform(const std::string& data_dir, uint32_t millis = 0);

// The window with WindowProc and the display, as WinMain makes them; false when a step failed.
bool app_open_window_and_display();

// Calls Game_Main until done() holds after a call, at most max_calls times. Returns the number
// of calls made, or -1 when Game_Main returned 0.
int app_run_game_until(const std::function<bool()>& done, int max_calls);

// The buffer that holds a sound id's sample now (null for a silent id).
const platform::SoundBuffer* app_sound_buffer(int id);

// Events of one buffer in the sound log, of one kind; value -1 matches any value.
int app_count_sound_events(const platform::SoundBuffer* buffer,
                           platform::headless::SoundEvent::Kind kind, int32_t value = -1);
// Time of the last event of that kind for the buffer, or -1 when there is none.
int64_t app_last_sound_event_time(const platform::SoundBuffer* buffer,
                                  platform::headless::SoundEvent::Kind kind);

// The first shape a classic game deals after a start-up seeded with millis and one new game.
int app_first_played_shape(uint32_t millis);
// A millisecond seed whose first played classic shape is `shape`, or -1.
int app_seed_for_first_shape(int shape);

// Count of visible pixels of `value` in the screen rectangle [x, x + w) x [y, y + h).
int app_count_screen_pixels(int x, int y, int w, int h, uint8_t value);
