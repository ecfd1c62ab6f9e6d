// Control of the headless backend, for tests and tools: a virtual clock, scripted keyboard and
// joystick, fault injection, the screen in memory and a log of what the game did with its sounds.
// Every call is safe at any time, static initialisation included.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/common/audio_internal.h"
#include "platform/common/backend.h"
#include "platform/joystick.h"
#include "platform/types.h"
#include "platform/window.h"

namespace platform::headless {

// Everything back to a fresh process: clock 0, system millisecond 0, no window, empty queue,
// no keys held, joystick absent, no display or sound objects, no faults, empty sound log,
// default data directories, no peek hook.
void reset();

// The virtual clock in milliseconds. Sleeping advances it by the time slept; reading the tick
// count, the key state, an empty message queue and the status of a playing sound buffer each
// advance it by 1 ms, so every busy-wait of the game ends. Playing sounds move on with it.
uint64_t now();
// Sets the clock without moving the sounds on (to put the tick count just before a wrap).
void set_time(uint64_t ms);
// Lets ms milliseconds pass, sounds included.
void advance(uint64_t ms);
// The millisecond field of the system time (0..999; larger values are taken modulo 1000).
void set_system_millis(uint32_t ms);

// Holds or releases a key by virtual-key code. A change posts WM_KEYDOWN / WM_KEYUP to the
// window if there is one (WM_SYSKEYDOWN / WM_SYSKEYUP with bit 29 while VK_MENU is held).
void set_key(int virtual_key, bool down);
bool key_down(int virtual_key);
void release_all_keys();

// Key names the backend knows, for a reader of key names to be tried on: each names the key
// of its place in the list plus one, in any case. None by default: no key is ever bound.
void name_keys(std::vector<std::string> names);

// The window loses the focus, as when the player switches to another window.
void lose_focus();

// The first joystick. A present joystick starts at rest (32767, 32767), no buttons, axes
// 0..65535 and five buttons. Absent, or failing through fail(), it answers JOYERR_UNPLUGGED.
void set_joystick_present(bool present);
void set_joystick_position(uint32_t x, uint32_t y, uint32_t buttons);

// Makes a step fail: times -1 for every call from now on, N for the next N calls.
void fail(backend::Step step, int times = -1);
void clear_faults();
// How often the step has been attempted since the last reset.
uint64_t step_calls(backend::Step step);

// The visible screen: primary and back surface pixels (640 x 480, pitch 640; null without a
// display), the hardware palette in force (all black without one), and a capture of the primary
// through that palette as a 24-bit BMP (false without a display or when the file can't be made).
const uint8_t* primary_pixels();
const uint8_t* back_pixels();
std::array<PaletteEntry, 256> hardware_palette();
std::vector<uint8_t> screenshot_bmp();
bool save_screenshot(const std::string& path);

// Counts since the last reset: flips, palette_set_entries calls.
uint64_t flip_count();
uint64_t palette_set_count();

// What the game did with its sound buffers, in order, each with the virtual time.
struct SoundEvent {
    using Kind = common::SoundEventKind;
    Kind kind;
    const SoundBuffer* buffer;
    uint64_t time;
    int32_t value;  // Play: flags; Stop: position stopped at; SetPosition: position; Volume: v
};
const std::vector<SoundEvent>& sound_events();
void clear_sound_events();
// From now on the clock's time plays the sounds through the mixer at rate frames a second, as
// a device would, and keeps the mono output (0, the default: sounds only move on, no output).
// Starting a capture empties what was kept.
void capture_sound(int rate);
const std::vector<int16_t>& captured_sound();
// True while a sound device is open.
bool audio_device_open();

// Where open_data_file looks, in order ("" is the current directory).
void set_data_dirs(std::vector<std::string> dirs);

// The game's window (null when none), its title, and whether the pointer is shown.
WindowHandle main_window();
std::string window_title();
bool cursor_visible();

// Called at the start of every peek_message, before the queue is looked at (the replay tool
// drives its script from here). Empty to remove.
void set_peek_hook(std::function<void()> hook);

// Off: every surface lock is refused, so the game draws no pixels (the text and its own state
// go on as ever). For runs that look at no picture; on again after a reset.
void set_pixels_drawn(bool drawn);

}  // namespace platform::headless
