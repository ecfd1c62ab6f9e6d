// The clock from SDL's millisecond ticks. The game waits by spinning on the tick count, so a
// read that finds the same millisecond as the previous one sleeps a little first: the spin
// still ends within a fraction of a millisecond of its time, without burning a core.
// Long waits (sleeps, fades, the title hold) keep pumping events, so keys and the window stay
// current while the game is not looking.
#include "platform/clock.h"

#include <algorithm>
#include <chrono>

#include "platform/sdl2/sdl2_backend.h"

namespace platform {

namespace {

// Slices of a sleep between two pumps.
constexpr uint32_t kSleepSliceMs = 10;

uint32_t last_tick_read = 0;

}  // namespace

uint32_t tick_count() {
    uint32_t now = SDL_GetTicks();
    if (now == last_tick_read) {
        sdl2::idle_briefly();
        now = SDL_GetTicks();
    }
    last_tick_read = now;
    // After the reading, so a wait that starts here includes the time of a present.
    sdl2::pump_if_stale();
    sdl2::flush_present(false);
    return now;
}

void sleep_ms(uint32_t ms) {
    const uint64_t per_ms = std::max<uint64_t>(SDL_GetPerformanceFrequency() / 1000, 1);
    const uint64_t deadline = SDL_GetPerformanceCounter() + uint64_t(ms) * per_ms;
    // A picture still waiting is shown now, within the sleep rather than after it.
    sdl2::flush_present(true);
    for (;;) {
        uint64_t now = SDL_GetPerformanceCounter();
        if (now >= deadline) {
            return;
        }
        uint64_t left_ms = (deadline - now + per_ms - 1) / per_ms;
        SDL_Delay(uint32_t(std::min<uint64_t>(left_ms, kSleepSliceMs)));
        sdl2::pump_if_stale();
    }
}

uint16_t sdl2::live_system_millis() {
    auto since_epoch = std::chrono::system_clock::now().time_since_epoch();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since_epoch).count();
    return uint16_t(((ms % 1000) + 1000) % 1000);
}

}  // namespace platform
