// The backend interface in memory: faults on request, time for polls, counters for tests.
#include "platform/common/backend.h"

#include <functional>

#include "platform/common/audio_internal.h"
#include "platform/common/window_internal.h"
#include "platform/headless/state.h"

namespace platform {

// Defined beside the backend calls so that any headless object a program links pulls them in
// too: the shared platform code, later on the link line, needs them.
headless::detail::State& headless::detail::state() {
    static State instance;
    return instance;
}

namespace backend {
namespace {

using headless::detail::state;

void record_sound_event(common::SoundEventKind kind, const SoundBuffer* buffer, int32_t value) {
    state().sound_events.push_back({kind, buffer, state().now, value});
}

}  // namespace

bool step_fails(Step step) {
    size_t index = size_t(step);
    if (index >= headless::detail::STEP_COUNT) {
        return false;
    }
    headless::detail::State& s = state();
    s.step_calls[index]++;
    int& remaining = s.faults[index];
    if (remaining == 0) {
        return false;
    }
    if (remaining > 0) {
        remaining--;
    }
    return true;
}

void pump_events() {
    headless::detail::State& s = state();
    if (s.peek_hook && !s.in_peek_hook) {
        // A copy, so a hook that replaces itself (or resets everything) keeps running safely.
        std::function<void()> hook = s.peek_hook;
        s.in_peek_hook = true;
        hook();
        state().in_peek_hook = false;
    }
    // A peek that finds nothing costs a millisecond, so a loop waiting for a message ends.
    if (common::message_queue_empty()) {
        headless::detail::pass_time(1);
    }
}

void window_created(int width, int height, const char* title) {
    (void)width;
    (void)height;
    (void)title;
}

void window_destroyed() {}

void cursor_visible(bool visible) {
    state().cursor_visible = visible;
}

// Screenshots read the surfaces themselves.
void primary_changed(const uint8_t* pixels, const PaletteEntry palette[256]) {
    (void)pixels;
    (void)palette;
}

bool audio_open() {
    common::set_sound_observer(record_sound_event);
    state().audio_open = true;
    return true;
}

void audio_close() {
    state().audio_open = false;
}

// One thread only: the mixer runs inside the clock's calls.
void audio_lock() {}
void audio_unlock() {}

void audio_status_polled() {
    headless::detail::pass_time(1);
}

}  // namespace backend
}  // namespace platform
