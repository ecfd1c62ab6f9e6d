// The keyboard's shared half: each backend hands its key events here, and the seam's key state
// and the window's key messages come from them (taps included, see key_taps.h).
#pragma once
#include <cstdint>

namespace platform::common {

// Physical keys a backend can tell apart (SDL's scancodes fit).
constexpr int kKeySlots = 512;

struct KeyEvent {
    int slot = 0;       // which physical key, 0 ... kKeySlots - 1
    int code = 0;       // the backend's key code, as backend::key_from_name gives; 0: never bound
    int fixed_key = 0;  // the virtual key it gives by itself, unbound; 0: none
    bool down = false;
    bool repeat = false;  // held down long enough to repeat
    bool alt = false;     // Alt held (or the key is Alt itself, going up)
};

// A key went down or up (or repeats): bindings, Alt+Enter, taps and the key message.
void key_event(const KeyEvent& event);

// The key message Windows sends for a change of key (WM_KEYDOWN ... WM_SYSKEYUP with its lparam).
void post_key_message(int virtual_key, bool down, bool repeat, bool alt);

// Whether the key is held now, or was tapped since the last read (no playback in between).
bool live_key_held(int virtual_key);

// No key held, no tap remembered, no key message held back.
void reset_keyboard();

}  // namespace platform::common
