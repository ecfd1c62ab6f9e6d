// The event pump: window events and keys become the game's window messages. The game's idle
// loops call it back to back (the closing screen, the shut-down state, a held pause key); a
// pump that comes right after an empty one sleeps a little first, so those loops do not burn
// a core while any key or close still arrives within a few milliseconds.
#include "platform/common/backend.h"
#include "platform/common/key_taps.h"
#include "platform/common/window_internal.h"
#include "platform/sdl2/sdl2_backend.h"
#include "platform/window.h"

namespace platform::sdl2 {

namespace {

constexpr uint64_t kBackToBackMs = 2;
constexpr uint64_t kStaleMs = 4;
// An idle loop still sees a key or a close within about this long.
constexpr uint32_t kIdlePumpSleepMs = 3;

uint64_t last_pump_ms = 0;
bool last_pump_empty = false;
bool close_posted = false;

void request_close() {
    // The window manager's close and SDL's quit often come together for one request.
    if (!close_posted) {
        close_posted = true;
        common::post_to_window(WM_CLOSE, 0, 0);
    }
}

void handle_window_event(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE:
            request_close();
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            common::invalidate_window();
            redraw();
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            window_resized();
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SHOWN:
            redraw();
            break;
        default:
            break;
    }
}

}  // namespace

void pump_if_stale() {
    if (SDL_GetTicks64() - last_pump_ms >= kStaleMs) {
        backend::pump_events();
    }
}

}  // namespace platform::sdl2

namespace platform::backend {

void pump_events() {
    if (sdl2::last_pump_empty && SDL_GetTicks64() - sdl2::last_pump_ms < sdl2::kBackToBackMs) {
        SDL_Delay(sdl2::kIdlePumpSleepMs);
    }
    sdl2::close_posted = false;
    int handled = 0;
    SDL_Event event;
    if (SDL_WasInit(SDL_INIT_EVENTS) != 0) {
        while (SDL_PollEvent(&event) != 0) {
            ++handled;
            switch (event.type) {
                case SDL_KEYDOWN:
                case SDL_KEYUP:
                    sdl2::handle_key_event(event.key);
                    break;
                case SDL_WINDOWEVENT:
                    sdl2::handle_window_event(event.window);
                    break;
                case SDL_QUIT:
                    sdl2::request_close();
                    break;
                case SDL_RENDER_TARGETS_RESET:
                case SDL_RENDER_DEVICE_RESET:
                    sdl2::redraw();
                    break;
                default:
                    break;
            }
        }
    }
    release_forgotten_taps(double(SDL_GetTicks64()));
    sdl2::last_pump_empty = handled == 0;
    sdl2::last_pump_ms = SDL_GetTicks64();
    sdl2::flush_present(false);
}

}  // namespace platform::backend
