// The display objects behind the video seam, shared by the text code and the backends' controls.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/video.h"

namespace platform {

constexpr int SCREEN_BYTES = SCREEN_WIDTH * SCREEN_HEIGHT;

struct Palette {
    DisplayDevice* device = nullptr;
    std::array<PaletteEntry, 256> entries{};
};

// The one device context a surface hands out between get and release.
struct DeviceContext {
    Surface* surface = nullptr;
    ColorRef text_color = rgb(0, 0, 0);
};

struct Surface {
    DisplayDevice* device = nullptr;
    bool primary = false;
    Surface* back = nullptr;     // the attached back buffer of a primary
    Surface* front = nullptr;    // the primary a back buffer belongs to
    Palette* palette = nullptr;  // attached with surface_set_palette
    std::vector<uint8_t> pixels = std::vector<uint8_t>(SCREEN_BYTES, 0);
    bool locked = false;
    std::unique_ptr<DeviceContext> dc;  // handed out by surface_get_dc until released
    uint32_t references = 1;
};

namespace common {

// True when the surface is a live one.
bool surface_alive(const Surface* surface);

// The live surface that handed out this device context, or null.
Surface* dc_owner(const DeviceContext* dc);

// The palette a surface's pixels are shown through: its own, else its flip chain's primary's;
// null when there is none.
const Palette* palette_in_force(const Surface* surface);

// Tells the backend that what the primary shows changed (no-op for any other surface).
void notify_if_visible(const Surface* surface);

// The visible screen: the primary surface and its back buffer of the live display; null when
// there is none. The palette is that of the primary (all black when none is attached).
const Surface* visible_primary();
const Surface* visible_back();
std::array<PaletteEntry, 256> hardware_palette();

// The palette index whose colour is nearest to color, as GDI picks on an 8-bit surface.
uint8_t nearest_palette_index(const std::array<PaletteEntry, 256>& entries, ColorRef color);

// How often the display was asked to do the things tests count.
struct VideoCounters {
    uint64_t flips = 0;               // successful flips
    uint64_t palette_entry_sets = 0;  // successful palette_set_entries calls
    uint64_t locks = 0;               // successful surface locks
};
VideoCounters& video_counters();

// Releases every display object, as at process start, and zeroes the counters.
void reset_video();

}  // namespace common
}  // namespace platform
