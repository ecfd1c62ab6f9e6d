#include "graphics/back_buffer.h"

#include <cstring>

uint8_t* back_buffer = nullptr;
int back_locked = 0;
platform::SurfaceDesc back_desc{};

platform::Result DD_Flip() {
    if (primary_surface == nullptr) {
        return platform::FAILED;
    }
    return platform::surface_flip(primary_surface, platform::DDFLIP_WAIT);
}

int DD_Lock_Back_Surface() {
    if (back_locked == 1) {
        return 0;
    }
    back_locked = 1;
    back_desc = platform::SurfaceDesc{};
    back_desc.dwSize = sizeof(back_desc);
    // A refused lock leaves lpSurface null, so callers see a null back_buffer and draw nothing.
    if (back_surface != nullptr &&
        platform::surface_lock(back_surface, &back_desc, 0) != platform::OK) {
        back_desc.lpSurface = nullptr;
    }
    back_buffer = static_cast<uint8_t*>(back_desc.lpSurface);
    return 1;
}

int DD_Unlock_Back_Surface() {
    if (back_locked == 0) {
        return 0;
    }
    back_locked = 0;
    // Only a lock that was granted is handed back.
    if (back_surface != nullptr && back_desc.lpSurface != nullptr) {
        platform::surface_unlock(back_surface, back_desc.lpSurface);
    }
    back_buffer = nullptr;
    return 1;
}

int Set_Palette_Entry(const PALETTEENTRY* entry, int index) {
    if (entry == nullptr || index < 0 || index > 255) {
        return 0;
    }
    if (dd_palette != nullptr) {
        platform::palette_set_entries(dd_palette, 0, index, 1, entry);
    }
    shadow_palette[index] = *entry;
    return 1;
}

int Set_Palette(const PALETTEENTRY* palette, int count) {
    if (palette == nullptr) {
        return 1;
    }
    if (count > 256) {
        count = 256;
    }
    for (int index = 0; index < count; ++index) {
        Set_Palette_Entry(&palette[index], index);
    }
    return 1;
}

int Save_Palette(PALETTEENTRY* palette) {
    if (palette != nullptr) {
        std::memcpy(palette, shadow_palette, sizeof(shadow_palette));
    }
    return 1;
}

int Restore_Palette(const PALETTEENTRY* palette) {
    if (palette == nullptr) {
        return 1;
    }
    std::memcpy(shadow_palette, palette, sizeof(shadow_palette));
    if (dd_palette != nullptr) {
        platform::palette_set_entries(dd_palette, 0, 0, 256, shadow_palette);
    }
    return 1;
}
