// The one window, its message queue and default handling, shared by both backends.
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/common/backend.h"
#include "platform/common/clock_internal.h"
#include "platform/common/key_taps.h"
#include "platform/common/window_internal.h"
#include "platform/keyboard.h"
#include "platform/port/session.h"

namespace platform {

struct Window {
    std::string title;
    WindowProcFn procedure = nullptr;
    bool needs_paint = false;
    bool destroying = false;
};

namespace {

// Two peeks this close together are back to back.
constexpr uint64_t kBackToBackMs = 2;

struct RegisteredClass {
    std::string name;
    WindowProcFn procedure;
};

struct WindowState {
    std::vector<RegisteredClass> classes;
    std::unique_ptr<Window> window;
    std::deque<Message> queue;
    bool quit_requested = false;
    int quit_code = 0;
    int cursor_counter = 0;
    std::string title_note;  // shown after the window's own title
    uint64_t last_pump_ms = 0;
    bool last_pump_empty = false;
};

// Function-local so nothing depends on the order of static initialisation.
WindowState& state() {
    static WindowState instance;
    return instance;
}

bool is_live(WindowHandle window) {
    return window != nullptr && window == state().window.get();
}

const RegisteredClass* find_class(const char* name) {
    for (const RegisteredClass& entry : state().classes) {
        if (entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}

}  // namespace

bool register_class(const WindowClass& window_class) {
    if (backend::step_fails(backend::Step::RegisterClass)) {
        return false;
    }
    if (window_class.lpszClassName == nullptr || window_class.lpszClassName[0] == '\0' ||
        window_class.lpfnWndProc == nullptr || find_class(window_class.lpszClassName) != nullptr) {
        return false;
    }
    state().classes.push_back({window_class.lpszClassName, window_class.lpfnWndProc});
    return true;
}

WindowHandle create_window(uint32_t ex_style, const char* class_name, const char* title,
                           uint32_t style, int x, int y, int width, int height) {
    (void)ex_style;
    (void)x;
    (void)y;
    if (backend::step_fails(backend::Step::CreateWindow)) {
        return nullptr;
    }
    WindowState& s = state();
    const RegisteredClass* registered = class_name ? find_class(class_name) : nullptr;
    // The game has exactly one window.
    if (registered == nullptr || s.window) {
        return nullptr;
    }
    s.window = std::make_unique<Window>();
    s.window->title = title ? title : "";
    s.window->procedure = registered->procedure;
    s.window->needs_paint = (style & WS_VISIBLE) != 0;
    WindowHandle window = s.window.get();
    backend::window_created(width, height, (s.window->title + s.title_note).c_str());
    if (window->procedure(window, WM_CREATE, 0, 0) == -1) {
        destroy_window(window);
        return nullptr;
    }
    return window;
}

bool destroy_window(WindowHandle window) {
    WindowState& s = state();
    if (!is_live(window) || window->destroying) {
        return false;
    }
    window->destroying = true;
    window->procedure(window, WM_DESTROY, 0, 0);
    // Messages still addressed to the window die with it; thread messages stay.
    std::deque<Message> kept;
    for (const Message& message : s.queue) {
        if (message.window != window) {
            kept.push_back(message);
        }
    }
    s.queue.swap(kept);
    s.window.reset();
    backend::window_destroyed();
    return true;
}

int screen_width() {
    return SCREEN_WIDTH;
}
int screen_height() {
    return SCREEN_HEIGHT;
}

bool peek_message(Message* out) {
    if (out == nullptr) {
        return false;
    }
    WindowState& s = state();
    // Idle loops (the closing screen, the shut-down state) peek at an empty queue back to back;
    // such a peek waits a little (or, where input can wake it, until input comes), so they do
    // not burn a core while any key or close still arrives within a few milliseconds.
    const uint32_t idle_wait = backend::idle_wait_ms();
    const uint64_t now = backend::clock_ms();
    if (idle_wait > 0 && s.last_pump_empty && common::message_queue_empty() &&
        now - s.last_pump_ms < kBackToBackMs) {
        backend::wait_for_input_until_ms(now + idle_wait);
    }
    common::count_wait();
    backend::pump_events();
    release_forgotten_taps(double(backend::clock_ms()));
    s.last_pump_empty = common::message_queue_empty();
    s.last_pump_ms = backend::clock_ms();
    if (!s.queue.empty()) {
        *out = s.queue.front();
        s.queue.pop_front();
        return true;
    }
    // As on Windows, quit comes only once everything posted before it has been taken.
    if (s.quit_requested) {
        s.quit_requested = false;
        *out = {nullptr, WM_QUIT, uintptr_t(s.quit_code), 0};
        return true;
    }
    if (s.window && s.window->needs_paint) {
        *out = {s.window.get(), WM_PAINT, 0, 0};
        return true;
    }
    return false;
}

void translate_message(const Message& message) {
    (void)message;
}

intptr_t dispatch_message(const Message& message) {
    if (!is_live(message.window)) {
        return 0;
    }
    if (message.message == WM_ACTIVATEAPP && message.wparam == 0) {
        port::focus_lost_seen();
    }
    return message.window->procedure(message.window, message.message, message.wparam,
                                     message.lparam);
}

bool post_message(WindowHandle window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    // A null window posts to the thread, as PostMessage does.
    if (window != nullptr && !is_live(window)) {
        return false;
    }
    state().queue.push_back({window, message, wparam, lparam});
    return true;
}

void post_quit_message(int exit_code) {
    state().quit_requested = true;
    state().quit_code = exit_code;
}

intptr_t default_window_proc(WindowHandle window, uint32_t message, uintptr_t wparam,
                             intptr_t lparam) {
    switch (message) {
        case WM_CLOSE:
            destroy_window(window);
            return 0;
        case WM_SYSKEYDOWN:
            if (wparam == uintptr_t(VK_F4) && (lparam & KEY_CONTEXT_ALT) != 0) {
                post_message(window, WM_CLOSE, 0, 0);
            }
            return 0;
        case WM_PAINT:
            validate_window(window);
            return 0;
        default:
            return 0;
    }
}

void validate_window(WindowHandle window) {
    if (is_live(window)) {
        window->needs_paint = false;
    }
}

int show_cursor(bool show) {
    WindowState& s = state();
    bool was_visible = s.cursor_counter >= 0;
    s.cursor_counter += show ? 1 : -1;
    bool visible = s.cursor_counter >= 0;
    if (visible != was_visible) {
        backend::cursor_visible(visible);
    }
    return s.cursor_counter;
}

namespace common {

void reset_windows() {
    WindowState& s = state();
    if (s.window) {
        s.window.reset();
        backend::window_destroyed();
    }
    s.classes.clear();
    s.queue.clear();
    s.quit_requested = false;
    s.quit_code = 0;
    s.cursor_counter = 0;
    s.title_note.clear();
    s.last_pump_ms = 0;
    s.last_pump_empty = false;
}

WindowHandle live_window() {
    return state().window.get();
}

void post_to_window(uint32_t message, uintptr_t wparam, intptr_t lparam) {
    WindowHandle window = live_window();
    if (window != nullptr) {
        post_message(window, message, wparam, lparam);
    }
}

std::string window_title() {
    return state().window ? state().window->title : std::string();
}

void lose_focus() {
    // A playback brings its own focus changes; the player's would make it play otherwise.
    if (!port::playing_back()) {
        post_to_window(WM_ACTIVATEAPP, 0, 0);
    }
}

void set_title_note(const std::string& note) {
    WindowState& s = state();
    s.title_note = note;
    if (s.window) {
        backend::window_title_changed((s.window->title + note).c_str());
    }
}

bool message_queue_empty() {
    const WindowState& s = state();
    return s.queue.empty() && !s.quit_requested && !(s.window && s.window->needs_paint);
}

void invalidate_window() {
    if (state().window) {
        state().window->needs_paint = true;
    }
}

}  // namespace common
}  // namespace platform
