// The clock, in milliseconds of the monotonic clock since the first reading. The game waits by
// spinning on the tick count, so a read that finds the same millisecond as the previous one
// sleeps until the next millisecond begins: the spin wakes once a millisecond, exactly when
// the count can have changed, never later than the system wakes it and without burning a
// core. Long waits (sleeps, fades, the title hold) keep pumping events, so keys and the window
// stay current while the game is not looking.
#include "platform/clock.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/sdl2/sdl2_backend.h"

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

// Slices of a sleep between two pumps.
constexpr auto kSleepSlice = std::chrono::milliseconds(10);

uint64_t last_tick_read = 0;

Clock::time_point clock_start() {
    static const Clock::time_point start = Clock::now();
    return start;
}

uint64_t ticks_at(Clock::time_point time) {
    auto since = std::chrono::duration_cast<std::chrono::milliseconds>(time - clock_start());
    return uint64_t(since.count());
}

}  // namespace

uint32_t tick_count() {
    uint64_t now = ticks_at(Clock::now());
    if (now == last_tick_read) {
        std::this_thread::sleep_until(clock_start() + std::chrono::milliseconds(now + 1));
        now = ticks_at(Clock::now());
    }
    last_tick_read = now;
    // After the reading, so a wait that starts here includes the time of a present.
    sdl2::pump_if_stale();
    sdl2::flush_present(false);
    return uint32_t(now);
}

void sleep_ms(uint32_t ms) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ms);
    // A picture still waiting is shown now, within the sleep rather than after it.
    sdl2::flush_present(true);
    for (;;) {
        const Clock::time_point now = Clock::now();
        if (now >= deadline) {
            return;
        }
        std::this_thread::sleep_until(std::min(deadline, now + kSleepSlice));
        sdl2::pump_if_stale();
    }
}

uint16_t sdl2::live_system_millis() {
    auto since_epoch = std::chrono::system_clock::now().time_since_epoch();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since_epoch).count();
    return uint16_t(((ms % 1000) + 1000) % 1000);
}

}  // namespace platform
