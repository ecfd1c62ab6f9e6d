// What the backends and the headless control need of the shared window and message queue.
#pragma once
#include <string>

#include "platform/window.h"

namespace platform::common {

// Forgets classes, the window, queued messages and the quit request; cursor counter back to 0.
void reset_windows();

// The live window, or null.
WindowHandle live_window();

// Posts a message to the live window; nothing when there is none.
void post_to_window(uint32_t message, uintptr_t wparam, intptr_t lparam);

// The title the live window was created with ("" when none).
std::string window_title();

// The window lost the focus (the player switched to another window): WM_ACTIVATEAPP.
void lose_focus();

// Words after the window's own title, such as " (playback)"; "" for none. Kept for a window
// made later.
void set_title_note(const std::string& note);

// True when nothing (no posted message, quit request or paint) waits in the queue.
bool message_queue_empty();

// The window needs painting again (the SDL backend calls this when the window is exposed).
void invalidate_window();

}  // namespace platform::common
