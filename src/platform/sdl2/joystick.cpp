// The first joystick or gamepad. The game looks for it once, during static initialisation,
// before the process entry: so SDL's joystick support is started here, on that first call.
// A joystick is always reported present; while none is plugged in it reads at rest (centred,
// no buttons), and one plugged in later is opened at the next query, so a pad connected after
// start-up works. Joystick events are left out of the event queue; each query updates the
// device state itself.
#include <algorithm>

#include "platform/common/backend.h"
#include "platform/common/joystick_map.h"
#include "platform/port/bindings.h"
#include "platform/sdl2/sdl2_backend.h"

namespace platform {

namespace {

constexpr uint32_t kMaxButtons = 32;

constexpr uint64_t kLookGapMs = 200;

bool looked = false;
bool available = false;
uint64_t last_look_ms = 0;
SDL_GameController* pad = nullptr;
SDL_Joystick* stick = nullptr;

void close_device() {
    if (pad != nullptr) {
        SDL_GameControllerClose(pad);
        pad = nullptr;
    }
    if (stick != nullptr) {
        SDL_JoystickClose(stick);
        stick = nullptr;
    }
}

// The first device plugged in, if any.
void open_first() {
    close_device();
    if (SDL_NumJoysticks() <= 0) {
        return;
    }
    if (SDL_IsGameController(0)) {
        pad = SDL_GameControllerOpen(0);
    }
    if (pad == nullptr) {
        stick = SDL_JoystickOpen(0);
    }
}

void look_once() {
    if (looked) {
        return;
    }
    looked = true;
    if (!sdl2::init_subsystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER)) {
        return;
    }
    available = true;
    SDL_JoystickEventState(SDL_IGNORE);
    SDL_GameControllerEventState(SDL_IGNORE);
    open_first();
}

bool attached() {
    return pad != nullptr ? SDL_GameControllerGetAttached(pad) == SDL_TRUE
                          : stick != nullptr && SDL_JoystickGetAttached(stick) == SDL_TRUE;
}

bool device_ready() {
    look_once();
    if (!available) {
        return false;
    }
    // With nothing plugged in, looking for a new device a few times a second is enough; the
    // closing screen asks hundreds of times a second.
    const uint64_t now = backend::clock_ms();
    if (pad == nullptr && stick == nullptr && now - last_look_ms < kLookGapMs) {
        return true;
    }
    last_look_ms = now;
    SDL_JoystickUpdate();
    if (!attached()) {
        open_first();
    }
    return true;
}

}  // namespace

namespace sdl2 {

void close_joystick() {
    looked = true;
    available = false;
    close_device();
}

void reopen_joystick() {
    if (available) {
        open_first();
        last_look_ms = 0;
    }
}

}  // namespace sdl2

bool backend::read_joystick(JoystickNow* now) {
    if (!device_ready()) {
        return false;
    }
    if (!attached()) {
        map_joystick(JoystickReading{}, now);
    } else if (pad != nullptr) {
        GamepadReading reading;
        reading.left_x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
        reading.left_y = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
        for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) {
            reading.held[b] = SDL_GameControllerGetButton(pad, SDL_GameControllerButton(b)) != 0;
        }
        map_gamepad(reading, port::pad_bindings(), now);
    } else {
        JoystickReading reading;
        reading.axis_count = SDL_JoystickNumAxes(stick);
        reading.axis0 = SDL_JoystickGetAxis(stick, 0);
        reading.axis1 = SDL_JoystickGetAxis(stick, 1);
        for (int i = 0; i < 5; ++i) {
            reading.buttons[i] = SDL_JoystickGetButton(stick, i) != 0;
        }
        map_joystick(reading, now);
    }
    // A gamepad, or none yet, offers exactly the five buttons the game reads.
    now->button_count =
        stick == nullptr ? 5u
                         : std::min<uint32_t>(uint32_t(SDL_JoystickNumButtons(stick)), kMaxButtons);
    return true;
}

}  // namespace platform
