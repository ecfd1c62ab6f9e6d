// Resetting the whole platform to a fresh process, faults, the sound log and the rest of the
// control calls that only read or set state.
#include "platform/headless/control.h"

#include "platform/common/audio_internal.h"
#include "platform/common/clock_internal.h"
#include "platform/common/files_internal.h"
#include "platform/common/keyboard_internal.h"
#include "platform/common/video_internal.h"
#include "platform/common/window_internal.h"
#include "platform/headless/state.h"
#include "platform/port/session.h"

namespace platform::headless {

void reset() {
    // The shared pieces first: releasing them calls back into this backend's state.
    common::reset_windows();
    common::reset_video();
    common::reset_audio();
    common::reset_search_dirs();
    common::reset_keyboard();
    common::reset_clock();
    port::reset_session();
    detail::state() = detail::State{};
}

void fail(backend::Step step, int times) {
    size_t index = size_t(step);
    if (index < detail::STEP_COUNT) {
        detail::state().faults[index] = times < 0 ? -1 : times;
    }
}

void clear_faults() {
    detail::state().faults.fill(0);
}

uint64_t step_calls(backend::Step step) {
    size_t index = size_t(step);
    return index < detail::STEP_COUNT ? detail::state().step_calls[index] : 0;
}

const std::vector<SoundEvent>& sound_events() {
    return detail::state().sound_events;
}
void clear_sound_events() {
    detail::state().sound_events.clear();
}
bool audio_device_open() {
    return detail::state().audio_open;
}

void set_data_dirs(std::vector<std::string> dirs) {
    common::set_search_dirs(std::move(dirs));
}

WindowHandle main_window() {
    return common::live_window();
}
std::string window_title() {
    return common::window_title();
}
bool cursor_visible() {
    return detail::state().cursor_visible;
}

void name_keys(std::vector<std::string> names) {
    detail::state().key_names = std::move(names);
}

void lose_focus() {
    common::lose_focus();
}

void set_peek_hook(std::function<void()> hook) {
    detail::state().peek_hook = std::move(hook);
}

void set_pixels_drawn(bool drawn) {
    detail::state().pixels_skipped = !drawn;
}

}  // namespace platform::headless
