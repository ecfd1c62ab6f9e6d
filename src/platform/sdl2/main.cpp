// The process entry of the desktop game: hands over to the game's own entry and ends SDL after.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <cstring>

#include "app/winmain.h"
#include "platform/diagnostics.h"
#include "platform/sdl2/sdl2_backend.h"

namespace {
// The game keeps the instance handle and never looks inside it.
char instance_tag;
char empty_command_line[] = "";
constexpr int SW_SHOWNORMAL = 1;
}  // namespace

int main(int argc, char** argv) {
    // --verbose sends the game's diagnostic log to stderr, as CELLSTORM_LOG=stderr does.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--verbose") == 0) {
            platform::request_diagnostics();
        }
    }
    SDL_SetMainReady();
    int exit_code = WinMain(&instance_tag, nullptr, empty_command_line, SW_SHOWNORMAL);
    platform::sdl2::shutdown();
    return exit_code;
}
