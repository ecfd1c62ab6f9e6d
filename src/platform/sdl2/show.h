// Putting the scaled picture into the window: through a renderer's texture when there is
// graphics hardware, or else straight into the window's own pixels, where only the rows that
// changed are written and sent to the display.
#pragma once
#include <SDL.h>

#include <cstdint>

#include "platform/port/options.h"

namespace platform::sdl2 {

using namespace port;

// The texture format: 32-bit without alpha, so copying it never blends.
constexpr uint32_t kTextureFormat = SDL_PIXELFORMAT_RGB888;

// Shows the 640 x 480 indices through lookup, placed in the window by the scale mode.
// renderer null: the window's own pixels. everything: draw and send every pixel again (after
// the window was exposed or resized, or lost its textures).
void show_picture(SDL_Window* window, SDL_Renderer* renderer, const uint8_t* pixels,
                  const uint32_t lookup[256], ScaleMode mode, bool everything);

// Lets go of the texture before its renderer goes.
void forget_picture();

}  // namespace platform::sdl2
