// GDI-style text on a surface: colour matched to the surface's palette, drawn transparent.
#include <climits>
#include <memory>

#include "platform/common/backend.h"
#include "platform/common/font.h"
#include "platform/common/video_internal.h"

namespace platform {
namespace {

constexpr ColorRef CLR_INVALID = 0xFFFFFFFF;

int red_of(ColorRef color) {
    return int(color & 0xFF);
}
int green_of(ColorRef color) {
    return int((color >> 8) & 0xFF);
}
int blue_of(ColorRef color) {
    return int((color >> 16) & 0xFF);
}

std::array<PaletteEntry, 256> entries_in_force(const Surface* surface) {
    const Palette* palette = common::palette_in_force(surface);
    return palette ? palette->entries : std::array<PaletteEntry, 256>{};
}

}  // namespace

Result surface_get_dc(Surface* surface, DeviceContext** out) {
    if (out == nullptr) {
        return FAILED;
    }
    *out = nullptr;
    if (backend::step_fails(backend::Step::SurfaceGetDC) || !common::surface_alive(surface) ||
        surface->locked || surface->dc) {
        return FAILED;
    }
    surface->dc = std::make_unique<DeviceContext>();
    surface->dc->surface = surface;
    *out = surface->dc.get();
    return OK;
}

Result surface_release_dc(Surface* surface, DeviceContext* dc) {
    if (!common::surface_alive(surface) || dc == nullptr || surface->dc.get() != dc) {
        return FAILED;
    }
    surface->dc.reset();
    return OK;
}

ColorRef set_text_color(DeviceContext* dc, ColorRef color) {
    if (common::dc_owner(dc) == nullptr) {
        return CLR_INVALID;
    }
    ColorRef previous = dc->text_color;
    dc->text_color = color & 0x00FFFFFF;
    return previous;
}

int set_bk_mode(DeviceContext* dc, int mode) {
    return common::dc_owner(dc) != nullptr && mode == TRANSPARENT ? TRANSPARENT : 0;
}

bool text_out(DeviceContext* dc, int x, int y, const char* text, int length) {
    Surface* surface = common::dc_owner(dc);
    if (surface == nullptr || length < 0 || (text == nullptr && length > 0)) {
        return false;
    }
    uint8_t ink = common::nearest_palette_index(entries_in_force(surface), dc->text_color);
    if (!common::draw_text(surface->pixels.data(), SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_WIDTH, x, y,
                           text, length, ink)) {
        return false;
    }
    if (length > 0) {
        common::notify_if_visible(surface);
    }
    return true;
}

namespace common {

uint8_t nearest_palette_index(const std::array<PaletteEntry, 256>& entries, ColorRef color) {
    // Closest by squared distance in RGB; the lowest index wins a tie, as GDI's match does.
    int best = 0;
    long best_distance = LONG_MAX;
    for (int i = 0; i < 256; ++i) {
        long dr = long(entries[size_t(i)].peRed) - red_of(color);
        long dg = long(entries[size_t(i)].peGreen) - green_of(color);
        long db = long(entries[size_t(i)].peBlue) - blue_of(color);
        long distance = dr * dr + dg * dg + db * db;
        if (distance < best_distance) {
            best = i;
            best_distance = distance;
        }
    }
    return uint8_t(best);
}

}  // namespace common
}  // namespace platform
