// The process entry of the desktop game: reads the command line, sets up a recording or a
// playback of the input, hands over to the game's own entry and ends SDL after.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <cstdio>
#include <new>
#include <string>

#include "app/winmain.h"
#include "game/line_clear.h"
#include "game/well.h"
#include "input/input_device.h"
#include "platform/diagnostics.h"
#include "platform/sdl2/input_session.h"
#include "platform/sdl2/sdl2_backend.h"
#include "platform/sdl2/session_options.h"

namespace {
// The game keeps the instance handle and never looks inside it.
char instance_tag;
char empty_command_line[] = "";
constexpr int SW_SHOWNORMAL = 1;
constexpr int EXIT_RECORDING_FAILED = 1;
constexpr int EXIT_BAD_COMMAND_LINE = 2;

uint64_t polls = 0;

int fail(const std::string& message) {
    std::fprintf(stderr, "cellstorm: %s\n", message.c_str());
    return EXIT_BAD_COMMAND_LINE;
}

// The input device looks for its joystick once, when static initialisation builds it; it is
// built again where the joystick it should see has changed, as at a start with that joystick.
void rebuild_input_device() {
    input_device.~InputDevice();
    new (&input_device) InputDevice();
}

void poll_begins() {
    ++polls;
    if (platform::sdl2::next_poll_input()) {
        rebuild_input_device();
    }
    platform::sdl2::poll_begins();
}

void poll_ends() {
    platform::sdl2::poll_ends();
}

// What the game had after its last poll, in the replay tool's terms (the well as base-32 cell
// values, row by row), so a replay of the recording can be checked against it.
std::string end_state() {
    static const char digits[] = "0123456789abcdefghijklmnopqrstuv";
    std::string rows;
    for (int row = 0; row < WELL_ROWS; ++row) {
        rows += row > 0 ? "/" : "";
        for (int column = 0; column < WELL_COLUMNS; ++column) {
            const int value = well[row][column].value;
            rows += value >= 0 && value < 32 ? digits[value] : '?';
        }
    }
    return "end polls=" + std::to_string(polls) + " score=" + std::to_string(score) +
           " lines=" + std::to_string(lines_total) + " level=" + std::to_string(level) +
           " well=" + rows;
}

}  // namespace

int main(int argc, char** argv) {
    SDL_SetMainReady();
    platform::sdl2::SessionOptions session;
    std::string error;
    for (int i = 1; i < argc; ++i) {
        // --verbose sends the game's diagnostic log to stderr, as CELLSTORM_LOG=stderr does.
        if (std::string(argv[i]) == "--verbose") {
            platform::request_diagnostics();
            continue;
        }
        const int taken = platform::sdl2::take_session_option(argc, argv, &i, &session, &error);
        if (taken == 0) {
            error = std::string("unknown option '") + argv[i] + "'";
        }
        if (taken <= 0) {
            return fail(error);
        }
    }
    if (!session.playback_path.empty()) {
        platform::Script script;
        if (!platform::load_script(session.playback_path, false, &script, &error)) {
            return fail(error);
        }
        platform::sdl2::start_playback(script);
        rebuild_input_device();
    }
    if (!session.record_path.empty()) {
        platform::ScriptStart start;
        start.joystick = input_device.joystick_present != 0;
        if (start.joystick) {
            start.joystick_x = input_device.centre_x;
            start.joystick_y = input_device.centre_y;
        }
        if (!platform::sdl2::start_recording(
                session.record_path, "cellstorm " CELLSTORM_VERSION " recording", start, &error)) {
            return fail(error);
        }
    }
    input_poll_hook = &poll_begins;
    input_poll_end_hook = &poll_ends;

    int exit_code = WinMain(&instance_tag, nullptr, empty_command_line, SW_SHOWNORMAL);
    // A recording that could not be written in full is not a success.
    if (!platform::sdl2::finish_recording(end_state()) && exit_code == 0) {
        exit_code = EXIT_RECORDING_FAILED;
    }
    platform::sdl2::shutdown();
    return exit_code;
}
