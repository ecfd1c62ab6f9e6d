#include "app/winmain.h"

#include <string>

#include "app/game_main.h"
#include "common/game_state.h"
#include "common/main_window.h"
#include "graphics/bitmap_file.h"
#include "graphics/display.h"
#include "graphics/log.h"
#include "platform/diagnostics.h"

namespace {

constexpr uint32_t CLASS_STYLE = 0x2B;  // own DC, double clicks, redraw on resize both ways
constexpr uintptr_t CLOSE_REQUEST = 1;  // WM_USER's wParam asking the window to close
constexpr int EXIT_START_FAILED = 1;

platform::WindowClass Main_Window_Class(void* instance) {
    platform::WindowClass window_class{};
    window_class.cbSize = 48;
    window_class.style = CLASS_STYLE;
    window_class.lpfnWndProc = WindowProc;
    window_class.cbClsExtra = 0;
    window_class.cbWndExtra = 0;
    window_class.hInstance = instance;
    window_class.hIcon = platform::IDI_APPLICATION;
    window_class.hCursor = platform::IDC_ARROW;
    window_class.hbrBackground = platform::BLACK_BRUSH;
    window_class.lpszMenuName = nullptr;
    window_class.lpszClassName = "DDWINCLASS";
    window_class.hIconSm = platform::IDI_APPLICATION;
    return window_class;
}

// A start that cannot show the game fails as a program does: one line saying why, exit code 1.
int Fail_Start(const char* what) {
    const std::string line = std::string("cannot start: ") + what;
    platform::write_diagnostic(line.c_str());
    Log_Close();
    return EXIT_START_FAILED;
}

}  // namespace

intptr_t WindowProc(platform::WindowHandle window, uint32_t message, uintptr_t wparam,
                    intptr_t lparam) {
    switch (message) {
        case platform::WM_CREATE:
            return 0;
        case platform::WM_DESTROY:
            platform::post_quit_message(0);
            return 0;
        case platform::WM_PAINT:
            platform::validate_window(window);
            return 0;
        case platform::WM_KEYDOWN:
        case platform::WM_KEYUP:
        case platform::WM_TIMER:
        case platform::WM_MOUSEMOVE:
            return 0;
        case platform::WM_ACTIVATEAPP:
            // A player who switches to another window finds the game paused, as P would.
            if (wparam == 0 && game_state == FLOW_PLAYING) {
                game_state = FLOW_PAUSED;
                pause_latch = 1;
            }
            return 0;
        case platform::WM_USER:
            if (wparam == CLOSE_REQUEST) {
                platform::post_message(window, platform::WM_CLOSE, 0, 0);
            }
            return 0;
        default:
            return platform::default_window_proc(window, message, wparam, lparam);
    }
}

int WinMain(void* instance, void* previous_instance, char* command_line, int show_command) {
    (void)previous_instance;
    (void)command_line;
    (void)show_command;
    Log_Open();
    if (!platform::register_class(Main_Window_Class(instance))) {
        return Fail_Start("the window class could not be registered");
    }
    platform::WindowHandle window =
        platform::create_window(platform::WS_EX_TOPMOST, "DDWINCLASS", "CELLSTORM",
                                platform::WS_POPUP | platform::WS_VISIBLE, 0, 0,
                                platform::screen_width(), platform::screen_height());
    if (window == nullptr) {
        return Fail_Start("the window could not be created");
    }
    platform::show_cursor(false);
    main_window = window;
    app_instance = instance;
    if (!DD_Init(main_window)) {
        platform::destroy_window(main_window);
        return Fail_Start("the display could not be set up");
    }

    // Only the quit message carries an exit code. The message that ends the loop after the
    // closing screen is whatever came next (usually the release of the key that left it), and
    // its wParam is no exit code.
    int exit_code = 0;
    platform::Message message{};
    for (;;) {
        if (platform::peek_message(&message)) {
            if (message.message == platform::WM_QUIT) {
                exit_code = static_cast<int>(message.wparam);
                break;
            }
            if (game_state == FLOW_SHUTDOWN) {
                break;
            }
            platform::translate_message(message);
            platform::dispatch_message(message);
        } else if (Game_Main() == 0) {
            break;
        }
    }

    platform::show_cursor(true);
    Log_Close();
    DD_Fill_Surface(primary_surface, 0);
    DD_Fill_Surface(back_surface, 0);
    DD_Shutdown();
    // A window closed during the closing screen leaves its picture loaded.
    Unload_Bitmap_File(&work_bitmap);
    return exit_code;
}
