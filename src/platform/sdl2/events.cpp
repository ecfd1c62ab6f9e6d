// The event pump: window events and keys become the game's window messages.
#include "platform/common/backend.h"
#include "platform/common/window_internal.h"
#include "platform/sdl2/sdl2_backend.h"
#include "platform/window.h"

namespace platform::sdl2 {

namespace {

// Readers of the key state that spin without looking at the message queue still see events
// this soon.
constexpr uint64_t kStaleMs = 4;

uint64_t last_pump_ms = 0;
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
        case SDL_WINDOWEVENT_FOCUS_LOST:
            common::lose_focus();
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
    if (backend::clock_ms() - last_pump_ms >= kStaleMs) {
        backend::pump_events();
    }
}

}  // namespace platform::sdl2

namespace platform::backend {

void pump_events() {
    sdl2::close_posted = false;
    SDL_Event event;
    if (SDL_WasInit(SDL_INIT_EVENTS) != 0) {
        while (SDL_PollEvent(&event) != 0) {
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
    sdl2::last_pump_ms = clock_ms();
    sdl2::flush_present(false);
}

}  // namespace platform::backend
