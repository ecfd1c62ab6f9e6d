// Plain types shared by every seam header: result codes and the palette entry.
#pragma once
#include <cstdint>

namespace platform {

// The one screen mode there is: 640 x 480 with 256 colours.
constexpr int SCREEN_WIDTH = 640;
constexpr int SCREEN_HEIGHT = 480;

// Result of a platform step that can fail: 0 is success, anything else a failure,
// as with the Windows calls these stand in for.
using Result = int32_t;
constexpr Result OK = 0;
constexpr Result FAILED = -1;

// Four bytes in this order, like the Windows palette entry the game was written against.
struct PaletteEntry {
    uint8_t peRed;
    uint8_t peGreen;
    uint8_t peBlue;
    uint8_t peFlags;
};
static_assert(sizeof(PaletteEntry) == 4, "palette entries are four bytes");

constexpr uint8_t PC_NOCOLLAPSE = 4;

// Colour value as the text calls take it: 0x00BBGGRR.
using ColorRef = uint32_t;
constexpr ColorRef rgb(uint8_t r, uint8_t g, uint8_t b) {
    return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}

}  // namespace platform
