// The seam's clock over the backend's: the tick count, sleeps and the system time. The game
// waits by spinning on the tick count, so a read that finds the same millisecond as the read
// just before, with no wait between them, waits for the next millisecond: the spin wakes once a
// millisecond, when the count can have changed. A read after any other wait (a sleep, an idle
// peek) is never held back, so a frame that starts there does not start late.
#include "platform/clock.h"

#include <chrono>

#include "platform/common/backend.h"
#include "platform/common/clock_internal.h"
#include "platform/port/session.h"

namespace platform {

namespace {

struct ClockState {
    uint64_t last_read = UINT64_MAX;
    uint64_t waits = 0;
    uint64_t waits_at_last_read = 0;
};

ClockState& clock_state() {
    static ClockState state;
    return state;
}

}  // namespace

namespace common {

void count_wait() {
    ++clock_state().waits;
}

uint16_t system_clock_millis() {
    auto since_epoch = std::chrono::system_clock::now().time_since_epoch();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since_epoch).count();
    return uint16_t(((ms % 1000) + 1000) % 1000);
}

void reset_clock() {
    clock_state() = ClockState();
}

}  // namespace common

uint32_t tick_count() {
    ClockState& c = clock_state();
    uint64_t now = backend::clock_ms();
    if (now == c.last_read && c.waits == c.waits_at_last_read) {
        backend::wait_until_ms(now + 1);
        now = backend::clock_ms();
    }
    c.last_read = now;
    c.waits_at_last_read = c.waits;
    // After the reading, so a wait that starts here includes what the backend does now.
    backend::polled();
    return uint32_t(now);
}

void sleep_ms(uint32_t ms) {
    common::count_wait();
    backend::wait_until_ms(backend::clock_ms() + ms);
}

uint16_t system_time_millis() {
    return port::seeded_system_millis();
}

}  // namespace platform
