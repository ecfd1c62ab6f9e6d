// The backend interface in memory: faults on request, time for polls, counters for tests.
#include "platform/common/backend.h"

#include <unistd.h>

#include <cstring>
#include <functional>

#include "platform/common/audio_internal.h"
#include "platform/common/window_internal.h"
#include "platform/headless/state.h"
#include "platform/port/pad_buttons.h"

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
    if (step == Step::SurfaceLock && s.pixels_skipped) {
        return true;
    }
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

void window_title_changed(const char* title) {
    (void)title;
}

void toggle_fullscreen() {}

// Every headless key is its own fixed virtual key, never bound, unless a test names keys.
int key_from_name(const std::string& name) {
    const std::vector<std::string>& names = headless::detail::state().key_names;
    for (size_t i = 0; i < names.size(); ++i) {
        if (port::same_ignoring_case(name, names[i].c_str())) {
            return int(i) + 1;
        }
    }
    return 0;
}

bool read_joystick(JoystickNow* now) {
    const headless::detail::Joystick& stick = state().joystick;
    if (!stick.present) {
        return false;
    }
    now->x = stick.x;
    now->y = stick.y;
    now->buttons = stick.buttons;
    now->button_count = 5;
    return true;
}

std::string program_folder() {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0) {
        return std::string();
    }
    path[length] = '\0';
    const char* slash = std::strrchr(path, '/');
    return slash == nullptr ? std::string() : std::string(path, size_t(slash - path));
}

// Tests and tools name their settings files themselves.
std::string settings_folder() {
    return std::string();
}

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
