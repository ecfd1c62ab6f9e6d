// What the shared platform pieces need from a backend (sdl2 or headless). The shared code in
// platform/common implements the seam's window/message queue, video, text and audio on top of
// these few calls; each backend implements them once, plus the clock, keyboard and joystick.
#pragma once
#include <cstdint>

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

}  // namespace platform::backend
