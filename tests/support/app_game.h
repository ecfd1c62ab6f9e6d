// Helpers for tests of the game flow and whole runs: a child process per run, a fresh platform
// with a data directory, and the sound log by id.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/audio.h"
#include "platform/headless/control.h"

// Runs body in a forked child, so it starts from the globals of a fresh process (every game
// object is one instance per process), and expects it to end without a test failure. A child
// still running after timeout_seconds is killed.
void app_expect_in_child(const std::function<void()>& body, unsigned timeout_seconds = 120);

// A fresh platform that finds its data files in data_dir and seeds with millis.
void app_start_platform(const std::string& data_dir, uint32_t millis = 0);

// Events of a sound id's buffer in the sound log, of one kind; value -1 matches any value.
int app_count_sound_events(int id, platform::headless::SoundEvent::Kind kind, int32_t value = -1);
// Time of the last event of that kind for the id's buffer, or -1 when there is none.
int64_t app_last_sound_event_time(int id, platform::headless::SoundEvent::Kind kind);

// A millisecond seed whose first played classic shape is `shape`, or -1.
int app_seed_for_first_shape(int shape);

// Count of visible pixels of `value` in the screen rectangle [x, x + w) x [y, y + h).
int app_count_screen_pixels(int x, int y, int w, int h, uint8_t value);
