// The one window, its message queue and default message handling.
// Message numbers are the Windows ones so the game's window procedure reads as written.
#pragma once
#include <cstdint>

namespace platform {

struct Window;
using WindowHandle = Window*;

constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_ACTIVATEAPP = 0x001C;  // wParam 0: the window lost the focus
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_TIMER = 0x0113;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_USER = 0x0400;

using WindowProcFn = intptr_t (*)(WindowHandle window, uint32_t message, uintptr_t wparam,
                                  intptr_t lparam);

struct Message {
    WindowHandle window;
    uint32_t message;
    uintptr_t wparam;
    intptr_t lparam;
};

// The window class record, field for field. Icons, cursor and brush are resource and
// stock-object ids; backends may ignore them.
struct WindowClass {
    uint32_t cbSize;
    uint32_t style;
    WindowProcFn lpfnWndProc;
    int32_t cbClsExtra;
    int32_t cbWndExtra;
    void* hInstance;
    uint32_t hIcon;
    uint32_t hCursor;
    uint32_t hbrBackground;
    const char* lpszMenuName;
    const char* lpszClassName;
    uint32_t hIconSm;
};

constexpr uint32_t IDI_APPLICATION = 32512;
constexpr uint32_t IDC_ARROW = 32512;
constexpr uint32_t BLACK_BRUSH = 4;
constexpr uint32_t WS_EX_TOPMOST = 0x00000008;
constexpr uint32_t WS_POPUP = 0x80000000;
constexpr uint32_t WS_VISIBLE = 0x10000000;

// Registers the class; false on failure.
bool register_class(const WindowClass& window_class);

// Creates the window of a registered class; null on failure. Sends WM_CREATE to its procedure.
WindowHandle create_window(uint32_t ex_style, const char* class_name, const char* title,
                           uint32_t style, int x, int y, int width, int height);

// Sends WM_DESTROY to the procedure and forgets the window; false for an unknown window.
bool destroy_window(WindowHandle window);

// Width and height of the desktop in pixels.
int screen_width();
int screen_height();

// Takes the next message without waiting; false when the queue is empty.
// Input the backend has gathered is turned into messages here.
bool peek_message(Message* out);

// The loop makes the call; the game reads no character messages, so none are made.
void translate_message(const Message& message);

// Calls the window's procedure with the message and returns its result.
intptr_t dispatch_message(const Message& message);

// Appends a message to the queue; false for an unknown window.
bool post_message(WindowHandle window, uint32_t message, uintptr_t wparam, intptr_t lparam);

// Queues WM_QUIT with the exit code as its wparam.
void post_quit_message(int exit_code);

// Default handling: WM_CLOSE destroys the window, Alt+F4 (WM_SYSKEYDOWN with the F4 key
// while Alt is down) posts WM_CLOSE, everything else returns 0.
intptr_t default_window_proc(WindowHandle window, uint32_t message, uintptr_t wparam,
                             intptr_t lparam);

// Validates the window for WM_PAINT; nothing is drawn.
void validate_window(WindowHandle window);

// Shows or hides the pointer; returns the display counter as Windows does.
int show_cursor(bool show);

}  // namespace platform
