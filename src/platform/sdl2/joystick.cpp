// The first joystick or gamepad present when the game first asks, which it does during static
// initialisation, before the process entry: so SDL's joystick support is started here, on
// that first call. Joystick events are left out of the event queue; each query updates the
// device state itself.
#include <algorithm>

#include "platform/joystick.h"
#include "platform/sdl2/joystick_map.h"
#include "platform/sdl2/sdl2_backend.h"

namespace platform {

namespace {

constexpr uint32_t kMaxButtons = 32;

bool looked = false;
bool found_at_start = false;
SDL_GameController* pad = nullptr;
SDL_Joystick* stick = nullptr;
SDL_JoystickGUID device_guid{};

void open_device(int index) {
    if (SDL_IsGameController(index)) {
        pad = SDL_GameControllerOpen(index);
    }
    if (pad == nullptr) {
        stick = SDL_JoystickOpen(index);
    }
    device_guid = SDL_JoystickGetDeviceGUID(index);
}

void look_once() {
    if (looked) {
        return;
    }
    looked = true;
    if (!sdl2::init_subsystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER)) {
        return;
    }
    SDL_JoystickEventState(SDL_IGNORE);
    SDL_GameControllerEventState(SDL_IGNORE);
    if (SDL_NumJoysticks() > 0) {
        open_device(0);
    }
    found_at_start = pad != nullptr || stick != nullptr;
}

bool attached() {
    return pad != nullptr ? SDL_GameControllerGetAttached(pad) == SDL_TRUE
                          : stick != nullptr && SDL_JoystickGetAttached(stick) == SDL_TRUE;
}

// The device of the start-up, plugged in again, answers once more; no other device is taken.
void reopen_if_back() {
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        SDL_JoystickGUID guid = SDL_JoystickGetDeviceGUID(i);
        if (SDL_memcmp(&guid, &device_guid, sizeof guid) == 0) {
            if (pad != nullptr) {
                SDL_GameControllerClose(pad);
                pad = nullptr;
            }
            if (stick != nullptr) {
                SDL_JoystickClose(stick);
                stick = nullptr;
            }
            open_device(i);
            return;
        }
    }
}

bool device_ready(uint32_t joystick_id) {
    if (joystick_id != JOYSTICKID1) {
        return false;
    }
    look_once();
    if (!found_at_start) {
        return false;
    }
    SDL_JoystickUpdate();
    if (!attached()) {
        reopen_if_back();
    }
    return attached();
}

}  // namespace

namespace sdl2 {

void close_joystick() {
    looked = true;
    found_at_start = false;
    if (pad != nullptr) {
        SDL_GameControllerClose(pad);
        pad = nullptr;
    }
    if (stick != nullptr) {
        SDL_JoystickClose(stick);
        stick = nullptr;
    }
}

uint32_t live_joystick_position(uint32_t joystick_id, JoyInfoEx* info) {
    if (info == nullptr) {
        return JOYERR_PARMS;
    }
    if (!device_ready(joystick_id)) {
        return joystick_id == JOYSTICKID1 ? JOYERR_UNPLUGGED : JOYERR_PARMS;
    }
    if (pad != nullptr) {
        sdl2::GamepadReading reading;
        reading.left_x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
        reading.left_y = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
        auto held = [](SDL_GameControllerButton button) {
            return SDL_GameControllerGetButton(pad, button) != 0;
        };
        reading.dpad_left = held(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
        reading.dpad_right = held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
        reading.dpad_up = held(SDL_CONTROLLER_BUTTON_DPAD_UP);
        reading.dpad_down = held(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        reading.a = held(SDL_CONTROLLER_BUTTON_A);
        reading.b = held(SDL_CONTROLLER_BUTTON_B);
        reading.start = held(SDL_CONTROLLER_BUTTON_START);
        reading.back = held(SDL_CONTROLLER_BUTTON_BACK);
        sdl2::map_gamepad(reading, info);
        return JOYERR_NOERROR;
    }
    sdl2::JoystickReading reading;
    reading.axis_count = SDL_JoystickNumAxes(stick);
    reading.axis0 = SDL_JoystickGetAxis(stick, 0);
    reading.axis1 = SDL_JoystickGetAxis(stick, 1);
    for (int i = 0; i < 5; ++i) {
        reading.buttons[i] = SDL_JoystickGetButton(stick, i) != 0;
    }
    sdl2::map_joystick(reading, info);
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
    caps->wXmax = sdl2::kAxisMax;
    caps->wYmin = 0;
    caps->wYmax = sdl2::kAxisMax;
    // A gamepad offers exactly the five buttons mapped for it.
    caps->wNumButtons =
        pad != nullptr ? 5u
                       : std::min<uint32_t>(uint32_t(SDL_JoystickNumButtons(stick)), kMaxButtons);
    return JOYERR_NOERROR;
}

}  // namespace sdl2

}  // namespace platform
