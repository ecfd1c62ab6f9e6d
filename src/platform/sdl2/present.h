// The 8-bit screen on a true-colour output: palette lookup, conversion into a streaming
// texture, and where the 640 x 480 picture sits in a window of any size.
#pragma once
#include <SDL.h>

#include <cstdint>

#include "platform/types.h"

namespace platform::sdl2 {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
// The texture format: 32-bit without alpha, so copying it never blends.
constexpr uint32_t kTextureFormat = SDL_PIXELFORMAT_RGB888;

struct PictureRect {
    int x;
    int y;
    int w;
    int h;
};

// The picture scaled to fit the output with its aspect kept, in whole-number steps when at
// least one step fits, centred; the rest of the output is the black bars.
PictureRect picture_rect(int output_width, int output_height);

// The 256 colours of the palette as texture pixels.
void build_lookup(const PaletteEntry palette[256], uint32_t lookup[256]);

// 640 x 480 indices (pitch 640) into 32-bit pixels, out_pitch bytes apart row to row.
void convert_pixels(const uint8_t* pixels, const uint32_t lookup[256], void* out, int out_pitch);

// Converts straight into the locked streaming texture; false when it cannot be locked.
bool upload_frame(SDL_Texture* texture, const uint8_t* pixels, const uint32_t lookup[256]);

}  // namespace platform::sdl2
