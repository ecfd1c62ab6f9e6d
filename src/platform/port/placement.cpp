#include "platform/port/placement.h"

#include <algorithm>

namespace platform::port {

PictureRect picture_rect(int output_width, int output_height, ScaleMode mode) {
    if (output_width <= 0 || output_height <= 0) {
        return {0, 0, 0, 0};
    }
    int steps = mode == ScaleMode::Integer
                    ? std::min(output_width / SCREEN_WIDTH, output_height / SCREEN_HEIGHT)
                    : 0;
    int w = 0;
    int h = 0;
    if (steps >= 1) {
        w = SCREEN_WIDTH * steps;
        h = SCREEN_HEIGHT * steps;
    } else if (int64_t(output_width) * SCREEN_HEIGHT <= int64_t(output_height) * SCREEN_WIDTH) {
        // The width limits, the height follows the 4:3 aspect.
        w = output_width;
        h = int(int64_t(output_width) * SCREEN_HEIGHT / SCREEN_WIDTH);
    } else {
        h = output_height;
        w = int(int64_t(output_height) * SCREEN_WIDTH / SCREEN_HEIGHT);
    }
    return {(output_width - w) / 2, (output_height - h) / 2, w, h};
}

void build_lookup(const PaletteEntry palette[256], uint32_t lookup[256]) {
    // RGB888 is 0x00RRGGBB in a native 32-bit word.
    for (int i = 0; i < 256; ++i) {
        lookup[i] = (uint32_t(palette[i].peRed) << 16) | (uint32_t(palette[i].peGreen) << 8) |
                    uint32_t(palette[i].peBlue);
    }
}

}  // namespace platform::port
