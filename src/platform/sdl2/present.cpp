#include "platform/sdl2/present.h"

#include <algorithm>

namespace platform::sdl2 {

PictureRect picture_rect(int output_width, int output_height) {
    if (output_width <= 0 || output_height <= 0) {
        return {0, 0, 0, 0};
    }
    int steps = std::min(output_width / kScreenWidth, output_height / kScreenHeight);
    int w = 0;
    int h = 0;
    if (steps >= 1) {
        w = kScreenWidth * steps;
        h = kScreenHeight * steps;
    } else if (int64_t(output_width) * kScreenHeight <= int64_t(output_height) * kScreenWidth) {
        // Smaller than the screen: the width limits, the height follows the 4:3 aspect.
        w = output_width;
        h = int(int64_t(output_width) * kScreenHeight / kScreenWidth);
    } else {
        h = output_height;
        w = int(int64_t(output_height) * kScreenWidth / kScreenHeight);
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

void convert_pixels(const uint8_t* pixels, const uint32_t lookup[256], void* out, int out_pitch) {
    auto* row_out = static_cast<uint8_t*>(out);
    for (int y = 0; y < kScreenHeight; ++y) {
        const uint8_t* in = pixels + y * kScreenWidth;
        auto* dst = reinterpret_cast<uint32_t*>(row_out);
        for (int x = 0; x < kScreenWidth; ++x) {
            dst[x] = lookup[in[x]];
        }
        row_out += out_pitch;
    }
}

bool upload_frame(SDL_Texture* texture, const uint8_t* pixels, const uint32_t lookup[256]) {
    void* out = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture, nullptr, &out, &pitch) != 0) {
        return false;
    }
    convert_pixels(pixels, lookup, out, pitch);
    SDL_UnlockTexture(texture);
    return true;
}

}  // namespace platform::sdl2
