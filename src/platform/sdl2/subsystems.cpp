#include <chrono>
#include <thread>

#include "platform/sdl2/sdl2_backend.h"

namespace platform::sdl2 {

namespace {
bool shut_down = false;
}

bool init_subsystem(uint32_t flags) {
    if (shut_down) {
        return false;
    }
    if (SDL_WasInit(flags) == flags) {
        return true;
    }
    return SDL_InitSubSystem(flags) == 0;
}

void shutdown() {
    shut_down = true;
    close_joystick();
    SDL_Quit();
}

void idle_briefly() {
    std::this_thread::sleep_for(std::chrono::microseconds(500));
}

}  // namespace platform::sdl2
