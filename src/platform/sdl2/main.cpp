// The process entry of the desktop game: reads the command line, sets up a recording or a
// playback of the input, hands over to the game's own entry and ends SDL after.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <cstdio>
#include <string>

#include "app/winmain.h"
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

int fail(const std::string& message) {
    std::fprintf(stderr, "cellstorm: %s\n", message.c_str());
    return EXIT_BAD_COMMAND_LINE;
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
    }
    if (!session.record_path.empty() &&
        !platform::sdl2::start_recording(session.record_path,
                                         "cellstorm " CELLSTORM_VERSION " recording", &error)) {
        return fail(error);
    }

    int exit_code = WinMain(&instance_tag, nullptr, empty_command_line, SW_SHOWNORMAL);
    // A recording that could not be written in full is not a success.
    if (!platform::sdl2::finish_recording(Game_Summary()) && exit_code == 0) {
        exit_code = EXIT_RECORDING_FAILED;
    }
    platform::sdl2::shutdown();
    return exit_code;
}
