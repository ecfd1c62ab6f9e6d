// The virtual clock: time passes only when the game sleeps or polls.
#include "platform/clock.h"

#include "platform/common/backend.h"
#include "platform/common/mixer.h"
#include "platform/headless/state.h"

namespace platform {
namespace headless::detail {

void pass_time(uint64_t ms) {
    state().now += ms;
    backend::audio_lock();
    common::advance_ms(ms);
    backend::audio_unlock();
}

}  // namespace headless::detail

uint32_t tick_count() {
    uint64_t value = headless::detail::state().now;
    // A poll costs a millisecond, so a spin on the tick count ends.
    headless::detail::pass_time(1);
    return uint32_t(value);
}

void sleep_ms(uint32_t ms) {
    headless::detail::pass_time(ms);
}

uint16_t system_time_millis() {
    return uint16_t(headless::detail::state().system_millis);
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

}  // namespace headless
}  // namespace platform
