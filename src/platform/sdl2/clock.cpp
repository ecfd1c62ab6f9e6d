// The backend's clock: milliseconds of the monotonic clock since the first reading, and waits
// that keep pumping events, so keys and the window stay current while the game is not looking.
#include <chrono>
#include <thread>

#include "platform/common/backend.h"
#include "platform/common/clock_internal.h"
#include "platform/sdl2/sdl2_backend.h"

namespace platform::backend {

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point clock_start() {
    static const Clock::time_point start = Clock::now();
    return start;
}

}  // namespace

}  // namespace platform::backend

namespace platform::sdl2 {

void sleep_until_ms(uint64_t ms) {
    std::this_thread::sleep_until(backend::clock_start() + std::chrono::milliseconds(ms));
}

}  // namespace platform::sdl2

namespace platform::backend {

uint64_t clock_ms() {
    auto since =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - clock_start());
    return uint64_t(since.count());
}

void wait_until_ms(uint64_t deadline_ms) {
    // A picture still waiting is shown now, within the wait rather than after it.
    sdl2::flush_present(true);
    sdl2::wait_events_until(deadline_ms, false);
}

void wait_for_input_until_ms(uint64_t deadline_ms) {
    sdl2::flush_present(true);
    sdl2::wait_events_until(deadline_ms, true);
}

uint16_t system_millis() {
    return common::system_clock_millis();
}

void polled() {
    sdl2::pump_if_stale();
    sdl2::flush_present(false);
}

uint32_t idle_wait_ms() {
    // Keys, the window and its close wake the wait at once; only a joystick's buttons, which
    // are read rather than sent, wait it out.
    return 20;
}

}  // namespace platform::backend
