// The pad's button bindings from the player's settings, by SDL's button names; the mapping
// itself is shared with every backend.
#pragma once
#include <SDL.h>

#include "platform/common/joystick_map.h"
#include "platform/port/settings.h"

namespace platform::sdl2 {

using namespace port;

static_assert(int(kPadButtonCount) == int(SDL_CONTROLLER_BUTTON_MAX) &&
                  int(kPadA) == int(SDL_CONTROLLER_BUTTON_A) &&
                  int(kPadBack) == int(SDL_CONTROLLER_BUTTON_BACK) &&
                  int(kPadStart) == int(SDL_CONTROLLER_BUTTON_START) &&
                  int(kPadDpadRight) == int(SDL_CONTROLLER_BUTTON_DPAD_RIGHT),
              "the shared pad buttons are numbered as SDL numbers them");

PadBindings pad_bindings(const Settings& settings);

}  // namespace platform::sdl2
