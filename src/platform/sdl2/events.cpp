// The event pump: window events and keys become the game's window messages.
#include <algorithm>
#include <climits>

#include "platform/common/backend.h"
#include "platform/common/window_internal.h"
#include "platform/sdl2/sdl2_backend.h"
#include "platform/window.h"

namespace platform::sdl2 {

namespace {

// Readers of the key state that spin without looking at the message queue still see events
// this soon.
constexpr uint64_t kStaleMs = 4;
// Slices of a wait where SDL cannot wake on events.
constexpr uint64_t kPlainSliceMs = 10;

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

void handle_event(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            handle_key_event(event.key);
            break;
        case SDL_WINDOWEVENT:
            handle_window_event(event.window);
            break;
        case SDL_QUIT:
            request_close();
            break;
        case SDL_RENDER_TARGETS_RESET:
        case SDL_RENDER_DEVICE_RESET:
            redraw();
            break;
        default:
            break;
    }
}

// SDL sleeps on the display's connection only with a window and a driver that can be woken;
// elsewhere its timed wait polls every millisecond, and a plain sleep is cheaper.
bool events_wake_waits() {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0 || !window_open()) {
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr &&
           (SDL_strcmp(driver, "x11") == 0 || SDL_strcmp(driver, "wayland") == 0);
}

}  // namespace

void wait_events_until(uint64_t deadline_ms, bool until_input) {
    const bool on_events = events_wake_waits();
    for (uint64_t now = backend::clock_ms(); now < deadline_ms; now = backend::clock_ms()) {
        if (!on_events || deadline_ms - now == 1) {
            // Without a window there is nothing to pump; a display that cannot wake the wait
            // is pumped in slices, so it stays current. The last millisecond is slept to its
            // edge: the spins' steps end on it.
            sleep_until_ms(window_open() ? std::min(deadline_ms, now + kPlainSliceMs)
                                         : deadline_ms);
            pump_if_stale();
            continue;
        }
        // Whole milliseconds from the reading: the wait ends within the deadline's millisecond,
        // never before it (SDL's timeout counts from now, not from the millisecond's edge).
        SDL_Event event;
        const int timeout = int(std::min<uint64_t>(deadline_ms - now, INT_MAX));
        if (SDL_WaitEventTimeout(&event, timeout) == 0) {
            // Timed out: SDL found the queue empty.
            last_pump_ms = backend::clock_ms();
            continue;
        }
        handle_event(event);
        backend::pump_events();
        if (until_input) {
            return;
        }
    }
}

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
            sdl2::handle_event(event);
        }
    }
    sdl2::last_pump_ms = clock_ms();
    sdl2::flush_present(false);
}

}  // namespace platform::backend
