// The one interface a backend implements (sdl2, web, headless). The shared code in
// platform/common implements the whole seam on top of these calls: window and message queue,
// clock, keyboard, joystick, video, text and audio; platform/port adds the options, settings,
// bindings, recording and playback. A backend implements these and nothing of the seam itself.
#pragma once
#include <cstdint>
#include <string>

#include "platform/types.h"

namespace platform::backend {

// Every seam step that can fail. The headless backend fails them on request; the SDL2 backend
// fails those it really cannot do (for instance no audio device).
enum class Step {
    RegisterClass,
    CreateWindow,
    DisplayCreate,
    DisplayCooperativeLevel,
    DisplayMode,
    CreateSurface,
    GetAttachedSurface,
    CreatePalette,
    SurfaceLock,
    SurfaceGetDC,
    SoundCreate,
    SoundCooperativeLevel,
    SoundCreateBuffer,
    SoundBufferLock,
    SoundBufferUnlock,
    SoundBufferPlay,
    SoundBufferSetPosition,
    JoystickPosition,
    JoystickCaps,
};

// True when this step must fail now.
bool step_fails(Step step);

// Gathers pending input (window events, keys) and posts the matching messages. Called by
// peek_message before it looks at the queue.
void pump_events();

// The one window appears or goes away.
void window_created(int width, int height, const char* title);
void window_destroyed();
void cursor_visible(bool visible);

// The visible picture changed: a flip, a palette change, a fill or text on the primary surface.
// pixels is 640 x 480 bytes, pitch 640, shown through palette.
void primary_changed(const uint8_t* pixels, const PaletteEntry palette[256]);

// Audio output: open the device (false when there is none), and guard the mixer while the
// game changes voices (the SDL backend's callback runs on its own thread).
bool audio_open();
void audio_close();
void audio_lock();
void audio_unlock();

// Called by the status query of a playing buffer, so a game that spins on it does not burn a
// core (SDL) or time does pass (headless).
void audio_status_polled();

// --- Time ---
// Milliseconds of a monotonic clock (the virtual clock headless).
uint64_t clock_ms();
// Returns once clock_ms() has reached deadline_ms (headless: lets the time pass), keeping the
// window and the keys current meanwhile; a picture still waiting is shown first.
void wait_until_ms(uint64_t deadline_ms);
// An idle peek's wait: as wait_until_ms, but it may end as soon as input has arrived.
void wait_for_input_until_ms(uint64_t deadline_ms);
// The millisecond field (0 ... 999) of the machine's system time.
uint16_t system_millis();
// The game has just read the tick count or is about to read a key: a spinning game still keeps
// the devices current (SDL: pump stale events, show a waiting picture), or time passes (headless).
void polled();
// How long a peek at an empty queue right after another waits, so idle loops do not burn a
// core; 0 where the clock moves on by itself (headless).
uint32_t idle_wait_ms();

// --- Keys and the joystick ---
// The backend's own code for a key name of the settings file ("A", "Left", "Keypad Enter"), the
// same code its key events carry; 0 for a name it does not know.
int key_from_name(const std::string& name);
// Alt+Enter: the display between full screen and a window.
void toggle_fullscreen();
// The first joystick or gamepad now, in the Windows units (axes 0 ... 65535, bit 0 = button 1),
// with the number of buttons it offers; false when there is none.
struct JoystickNow {
    uint32_t x = 32767;
    uint32_t y = 32767;
    uint32_t buttons = 0;
    uint32_t button_count = 5;
};
bool read_joystick(JoystickNow* now);

// --- Places and the window's title ---
// The running program's folder (no trailing separator), or "" when it cannot be told.
std::string program_folder();
// The folder for the player's settings (no trailing separator; made by the caller), or "".
std::string settings_folder();
// The window's title changed (a playback adds a note to it).
void window_title_changed(const char* title);

}  // namespace platform::backend
