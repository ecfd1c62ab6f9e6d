#include "graphics/display.h"

#include <cstring>

platform::DisplayDevice* dd_object = nullptr;
platform::Surface* primary_surface = nullptr;
platform::Surface* back_surface = nullptr;
platform::Palette* dd_palette = nullptr;
PALETTEENTRY shadow_palette[256];

namespace {

// Every step of DD_Init that fails ends the same way: undo what exists, report 0.
int Fail_Init() {
    DD_Shutdown();
    return 0;
}

}  // namespace

int DD_Init(platform::WindowHandle window) {
    if (platform::display_create(&dd_object) != platform::OK) {
        dd_object = nullptr;
        return Fail_Init();
    }

    const uint32_t coop_flags = platform::DDSCL_FULLSCREEN | platform::DDSCL_ALLOWREBOOT |
                                platform::DDSCL_EXCLUSIVE | platform::DDSCL_ALLOWMODEX;
    if (platform::display_set_cooperative_level(dd_object, window, coop_flags) != platform::OK) {
        return Fail_Init();
    }
    if (platform::display_set_mode(dd_object, SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BPP) !=
        platform::OK) {
        return Fail_Init();
    }

    platform::SurfaceDesc desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = platform::DDSD_CAPS | platform::DDSD_BACKBUFFERCOUNT;
    desc.dwCaps =
        platform::DDSCAPS_PRIMARYSURFACE | platform::DDSCAPS_FLIP | platform::DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    if (platform::display_create_surface(dd_object, desc, &primary_surface) != platform::OK) {
        primary_surface = nullptr;
        return Fail_Init();
    }
    if (platform::surface_get_attached(primary_surface, platform::DDSCAPS_BACKBUFFER,
                                       &back_surface) != platform::OK) {
        back_surface = nullptr;
        return Fail_Init();
    }

    DD_Fill_Surface(primary_surface, 0);
    DD_Fill_Surface(back_surface, 0);

    dd_palette = nullptr;
    for (PALETTEENTRY& entry : shadow_palette) {
        entry = PALETTEENTRY{0, 0, 0, platform::PC_NOCOLLAPSE};
    }
    if (platform::display_create_palette(dd_object,
                                         platform::DDPCAPS_8BIT | platform::DDPCAPS_INITIALIZE,
                                         shadow_palette, &dd_palette) != platform::OK) {
        dd_palette = nullptr;
        return Fail_Init();
    }
    platform::surface_set_palette(primary_surface, dd_palette);
    return 1;
}

int DD_Shutdown() {
    if (dd_object == nullptr) {
        return 0;
    }
    if (primary_surface != nullptr) {
        platform::surface_release(primary_surface);
        primary_surface = nullptr;
    }
    platform::display_release(dd_object);
    dd_object = nullptr;
    // The back buffer went with its flip chain and the palette with the device; forget both so
    // nothing reaches them through a stale pointer.
    back_surface = nullptr;
    dd_palette = nullptr;
    return 1;
}

int DD_Fill_Surface(platform::Surface* surface, uint8_t color) {
    if (surface == nullptr) {
        return 1;
    }
    platform::SurfaceDesc desc{};
    desc.dwSize = sizeof(desc);
    if (platform::surface_lock(surface, &desc, platform::DDLOCK_WAIT) != platform::OK ||
        desc.lpSurface == nullptr) {
        return 1;
    }
    std::memset(desc.lpSurface, color, size_t(desc.dwWidth) * desc.dwHeight);
    platform::surface_unlock(surface, desc.lpSurface);
    return 1;
}
