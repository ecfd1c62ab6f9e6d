// The first joystick or gamepad. The game looks for it once, during static initialisation,
// before the process entry: so SDL's joystick support is started here, on that first call.
// A joystick is always reported present; while none is plugged in it reads at rest (centred,
// no buttons), and one plugged in later is opened at the next query, so a pad connected after
// start-up works. Joystick events are left out of the event queue; each query updates the
// device state itself.
#include <algorithm>

#include "platform/joystick.h"
#include "platform/sdl2/joystick_map.h"
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

bool device_ready(uint32_t joystick_id) {
    if (joystick_id != JOYSTICKID1) {
        return false;
    }
    look_once();
    if (!available) {
        return false;
    }
    // With nothing plugged in, looking for a new device a few times a second is enough; the
    // closing screen asks hundreds of times a second.
    const uint64_t now = SDL_GetTicks64();
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

uint32_t live_joystick_position(uint32_t joystick_id, JoyInfoEx* info) {
    if (info == nullptr) {
        return JOYERR_PARMS;
    }
    if (!device_ready(joystick_id)) {
        return joystick_id == JOYSTICKID1 ? JOYERR_UNPLUGGED : JOYERR_PARMS;
    }
    if (!attached()) {
        map_joystick(JoystickReading{}, info);
        return JOYERR_NOERROR;
    }
    if (pad != nullptr) {
        GamepadReading reading;
        reading.left_x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
        reading.left_y = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
        for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) {
            reading.held[b] = SDL_GameControllerGetButton(pad, SDL_GameControllerButton(b)) != 0;
        }
        map_gamepad(reading, sdl2::pad_bindings(sdl2::active_settings()), info);
        return JOYERR_NOERROR;
    }
    JoystickReading reading;
    reading.axis_count = SDL_JoystickNumAxes(stick);
    reading.axis0 = SDL_JoystickGetAxis(stick, 0);
    reading.axis1 = SDL_JoystickGetAxis(stick, 1);
    for (int i = 0; i < 5; ++i) {
        reading.buttons[i] = SDL_JoystickGetButton(stick, i) != 0;
    }
    map_joystick(reading, info);
    return JOYERR_NOERROR;
}

uint32_t live_joystick_caps(uint32_t joystick_id, JoyCaps* caps) {
    if (caps == nullptr) {
        return JOYERR_PARMS;
    }
    if (!device_ready(joystick_id)) {
        return joystick_id == JOYSTICKID1 ? JOYERR_UNPLUGGED : JOYERR_PARMS;
    }
    caps->wXmin = 0;
    caps->wXmax = kAxisMax;
    caps->wYmin = 0;
    caps->wYmax = kAxisMax;
    // A gamepad, or none yet, offers exactly the five buttons the game reads.
    caps->wNumButtons =
        stick == nullptr ? 5u
                         : std::min<uint32_t>(uint32_t(SDL_JoystickNumButtons(stick)), kMaxButtons);
    return JOYERR_NOERROR;
}

}  // namespace sdl2

}  // namespace platform
