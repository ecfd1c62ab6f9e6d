// The full-screen 8-bit display: one step per display call the game makes, each able to fail.
// Surfaces are 640 x 480 bytes of palette indices with a 640-byte pitch; the palette has 256
// entries.
#pragma once
#include <cstdint>

#include "platform/types.h"
#include "platform/window.h"

namespace platform {

struct DisplayDevice;
struct Surface;
struct Palette;

// Flags and caps with their DirectDraw values, so callers pass what the game passes.
constexpr uint32_t DDSCL_FULLSCREEN = 0x01;
constexpr uint32_t DDSCL_ALLOWREBOOT = 0x02;
constexpr uint32_t DDSCL_EXCLUSIVE = 0x10;
constexpr uint32_t DDSCL_ALLOWMODEX = 0x40;
constexpr uint32_t DDSD_CAPS = 0x01;
constexpr uint32_t DDSD_BACKBUFFERCOUNT = 0x20;
constexpr uint32_t DDSCAPS_BACKBUFFER = 0x004;
constexpr uint32_t DDSCAPS_COMPLEX = 0x008;
constexpr uint32_t DDSCAPS_FLIP = 0x010;
constexpr uint32_t DDSCAPS_PRIMARYSURFACE = 0x200;
constexpr uint32_t DDPCAPS_8BIT = 0x04;
constexpr uint32_t DDPCAPS_INITIALIZE = 0x08;
constexpr uint32_t DDLOCK_WAIT = 0x01;
constexpr uint32_t DDFLIP_WAIT = 0x01;

// What a lock fills in, and what creating the primary surface takes.
struct SurfaceDesc {
    uint32_t dwSize;
    uint32_t dwFlags;
    uint32_t dwHeight;
    uint32_t dwWidth;
    int32_t lPitch;
    uint32_t dwBackBufferCount;
    void* lpSurface;
    uint32_t dwCaps;
};

Result display_create(DisplayDevice** out);
// Exclusive mode (DDSCL_EXCLUSIVE) needs the live window; any other handle fails.
Result display_set_cooperative_level(DisplayDevice* device, WindowHandle window, uint32_t flags);
Result display_set_mode(DisplayDevice* device, int width, int height, int bits_per_pixel);
// Creates the primary surface with its flip chain of desc.dwBackBufferCount back buffers.
Result display_create_surface(DisplayDevice* device, const SurfaceDesc& desc, Surface** out);
Result display_create_palette(DisplayDevice* device, uint32_t flags,
                              const PaletteEntry entries[256], Palette** out);
// Releases the device and everything still made from it; returns the remaining reference count.
uint32_t display_release(DisplayDevice* device);

// The back buffer attached to a primary surface.
Result surface_get_attached(Surface* primary, uint32_t caps, Surface** out);
Result surface_set_palette(Surface* surface, Palette* palette);
// Whole surface. On success desc->lpSurface points at the bytes until the unlock; a surface
// already locked refuses.
Result surface_lock(Surface* surface, SurfaceDesc* desc, uint32_t flags);
Result surface_unlock(Surface* surface, void* bits);
// Shows the back buffer: primary and back exchange their pixels.
Result surface_flip(Surface* primary, uint32_t flags);
// Releases a primary surface with its back buffer.
uint32_t surface_release(Surface* surface);

Result palette_set_entries(Palette* palette, uint32_t flags, int start, int count,
                           const PaletteEntry* entries);

// Text through a device context of a surface. The surface must not be locked meanwhile.
struct DeviceContext;
// Text is only ever drawn transparent, over what is there.
constexpr int TRANSPARENT = 1;

Result surface_get_dc(Surface* surface, DeviceContext** out);
Result surface_release_dc(Surface* surface, DeviceContext* dc);
// Returns the previous colour.
ColorRef set_text_color(DeviceContext* dc, ColorRef color);
// Returns the previous mode; 0 for any mode but TRANSPARENT.
int set_bk_mode(DeviceContext* dc, int mode);
// Draws length characters with their top-left at (x, y), clipped to the surface.
bool text_out(DeviceContext* dc, int x, int y, const char* text, int length);

}  // namespace platform
