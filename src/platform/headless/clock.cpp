// The virtual clock: time passes only when the game sleeps or polls.
#include <algorithm>
#include <cstdint>

#include "platform/common/backend.h"
#include "platform/common/mixer.h"
#include "platform/headless/state.h"

namespace platform {
namespace headless::detail {

void pass_time(uint64_t ms) {
    State& s = state();
    s.now += ms;
    backend::audio_lock();
    if (s.capture_rate > 0) {
        // As many frames as are due by now, so the capture keeps the clock's time exactly.
        s.capture_ms += ms;
        size_t done = s.captured.size();
        size_t due = size_t(s.capture_ms * uint64_t(s.capture_rate) / 1000);
        s.captured.resize(due);
        common::mix_s16(s.captured.data() + done, due - done, s.capture_rate);
    } else {
        common::advance_ms(ms);
    }
    backend::audio_unlock();
}

}  // namespace headless::detail

uint64_t backend::clock_ms() {
    return headless::detail::state().now;
}

void backend::wait_until_ms(uint64_t deadline_ms) {
    const uint64_t now = headless::detail::state().now;
    if (deadline_ms >= now) {
        headless::detail::pass_time(deadline_ms - now);
    }
}

void backend::wait_for_input_until_ms(uint64_t deadline_ms) {
    backend::wait_until_ms(deadline_ms);
}

uint16_t backend::system_millis() {
    return uint16_t(headless::detail::state().system_millis);
}

// A read of the clock or a key costs a millisecond, so every spin of the game ends.
void backend::polled() {
    headless::detail::pass_time(1);
}

// The clock moves on by itself at every empty peek.
uint32_t backend::idle_wait_ms() {
    return 0;
}

namespace headless {

uint64_t now() {
    return detail::state().now;
}
void set_time(uint64_t ms) {
    detail::state().now = ms;
}
void advance(uint64_t ms) {
    detail::pass_time(ms);
}
void set_system_millis(uint32_t ms) {
    detail::state().system_millis = ms % 1000;
}
void capture_sound(int rate) {
    detail::State& s = detail::state();
    s.capture_rate = std::max(rate, 0);
    s.capture_ms = 0;
    s.captured.clear();
    common::reset_output();
}
const std::vector<int16_t>& captured_sound() {
    return detail::state().captured;
}

}  // namespace headless
}  // namespace platform
