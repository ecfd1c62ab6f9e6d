// The 8-bit screen on a true-colour output: the palette lookup, and where the 640 x 480
// picture sits in a window of any size.
#pragma once
#include <cstdint>

#include "platform/port/options.h"
#include "platform/types.h"

namespace platform::port {

struct PictureRect {
    int x;
    int y;
    int w;
    int h;
};

// The picture centred in the output with its 4:3 aspect kept; the rest of the output is the
// black bars. Fit: as large as fits. Integer: whole-number steps when at least one fits.
PictureRect picture_rect(int output_width, int output_height, ScaleMode mode);

// The 256 colours of the palette as texture pixels.
void build_lookup(const PaletteEntry palette[256], uint32_t lookup[256]);

}  // namespace platform::port
