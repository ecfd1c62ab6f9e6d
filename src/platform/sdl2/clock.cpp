// The backend's clock: milliseconds of the monotonic clock since the first reading, and waits
// that keep pumping events, so keys and the window stay current while the game is not looking.
#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/common/backend.h"
#include "platform/common/clock_internal.h"
#include "platform/sdl2/sdl2_backend.h"

namespace platform::backend {

namespace {

using Clock = std::chrono::steady_clock;

// Slices of a wait between two pumps.
constexpr uint64_t kWaitSliceMs = 10;

Clock::time_point clock_start() {
    static const Clock::time_point start = Clock::now();
    return start;
}

}  // namespace

uint64_t clock_ms() {
    auto since =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - clock_start());
    return uint64_t(since.count());
}

void wait_until_ms(uint64_t deadline_ms) {
    // A picture still waiting is shown now, within the wait rather than after it.
    sdl2::flush_present(true);
    for (uint64_t now = clock_ms(); now < deadline_ms; now = clock_ms()) {
        const uint64_t until = std::min(deadline_ms, now + kWaitSliceMs);
        std::this_thread::sleep_until(clock_start() + std::chrono::milliseconds(until));
        sdl2::pump_if_stale();
    }
}

uint16_t system_millis() {
    return common::system_clock_millis();
}

void polled() {
    sdl2::pump_if_stale();
    sdl2::flush_present(false);
}

uint32_t idle_wait_ms() {
    return 3;
}

}  // namespace platform::backend
