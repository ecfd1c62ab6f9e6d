// What the pieces of the SDL2 backend share among themselves (not part of the seam).
#pragma once
#include <SDL.h>

#include <cstdint>
#include <vector>

#include "platform/joystick.h"

namespace platform::sdl2 {

// Starts an SDL subsystem once for the run; false when it is not available or the backend
// has already been shut down.
bool init_subsystem(uint32_t flags);

// Ends SDL at the end of the process entry; later calls find nothing to start.
void shutdown();

// joystick.cpp: lets go of the joystick before SDL ends.
void close_joystick();
// Opens the joystick again, so gamepad mappings added since apply to it.
void reopen_joystick();

// display.cpp: the window with its renderer and texture, made on first need.
bool ensure_window();
// False: the sound device is never opened (the player asked for no sound).
void set_sound_enabled(bool enabled);
// Shows the newest picture if one waits: at once when force is set, otherwise only when the
// last present was long enough ago that a burst of changes becomes one present.
void flush_present(bool force);
// Whether the window is there.
bool window_open();
// Shows the current picture again (the window was exposed, resized or its textures lost).
void redraw();
// The window's size changed; a window (not the full screen) keeps its size in the settings.
void window_resized();

// window_icon.cpp: gives the window the game's icon from its data files, when there.
void set_window_icon(SDL_Window* window);

// keyboard.cpp: a key event from the queue, to the shared keyboard.
void handle_key_event(const SDL_KeyboardEvent& event);
// The virtual keys a key gives, by the player's bindings (see port/bindings.h).
std::vector<int> virtual_keys(SDL_Keycode key, SDL_Scancode scancode, bool alt);

// events.cpp: pumps when the last pump is older than a few milliseconds, for readers of the
// key state that spin without looking at the message queue.
void pump_if_stale();
// Waits until clock_ms() reaches deadline_ms, handling events as they come (on SDL's own wait
// where it can be woken by them); with until_input, the first event ends the wait.
void wait_events_until(uint64_t deadline_ms, bool until_input);

// clock.cpp: sleeps until the backend's clock reads ms.
void sleep_until_ms(uint64_t ms);

// A short sleep for spinning callers: well under a millisecond, so no wait in the game grows
// by more than that.
void idle_briefly();

}  // namespace platform::sdl2
