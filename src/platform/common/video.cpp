// The display: device, primary surface with its back buffer, palettes, lock and flip.
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/common/backend.h"
#include "platform/common/video_internal.h"
#include "platform/common/window_internal.h"

namespace platform {

struct DisplayDevice {
    bool exclusive = false;
    bool mode_set = false;
    std::vector<std::unique_ptr<Surface>> surfaces;
    std::vector<std::unique_ptr<Palette>> palettes;
    Surface* primary = nullptr;
};

namespace {

using backend::Step;

std::vector<std::unique_ptr<DisplayDevice>>& devices() {
    static std::vector<std::unique_ptr<DisplayDevice>> instance;
    return instance;
}

bool device_alive(const DisplayDevice* device) {
    for (const auto& entry : devices()) {
        if (entry.get() == device) {
            return true;
        }
    }
    return false;
}

bool palette_alive(const Palette* palette) {
    for (const auto& device : devices()) {
        for (const auto& entry : device->palettes) {
            if (entry.get() == palette) {
                return true;
            }
        }
    }
    return false;
}

const std::array<PaletteEntry, 256>& black_palette() {
    static const std::array<PaletteEntry, 256> instance{};
    return instance;
}

// Drops a primary and its back buffer from their device.
void destroy_chain(DisplayDevice* device, Surface* primary) {
    Surface* back = primary->back;
    auto& surfaces = device->surfaces;
    surfaces.erase(std::remove_if(surfaces.begin(), surfaces.end(),
                                  [&](const std::unique_ptr<Surface>& entry) {
                                      return entry.get() == primary || entry.get() == back;
                                  }),
                   surfaces.end());
    if (device->primary == primary) {
        device->primary = nullptr;
    }
}

}  // namespace

Result display_create(DisplayDevice** out) {
    if (out == nullptr) {
        return FAILED;
    }
    *out = nullptr;
    if (backend::step_fails(Step::DisplayCreate)) {
        return FAILED;
    }
    devices().push_back(std::make_unique<DisplayDevice>());
    *out = devices().back().get();
    return OK;
}

Result display_set_cooperative_level(DisplayDevice* device, WindowHandle window, uint32_t flags) {
    if (backend::step_fails(Step::DisplayCooperativeLevel) || !device_alive(device)) {
        return FAILED;
    }
    bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
    // Exclusive full screen needs the program's window, as it does on Windows.
    if (exclusive && (window == nullptr || window != common::live_window())) {
        return FAILED;
    }
    device->exclusive = exclusive;
    return OK;
}

Result display_set_mode(DisplayDevice* device, int width, int height, int bits_per_pixel) {
    if (backend::step_fails(Step::DisplayMode) || !device_alive(device) || !device->exclusive) {
        return FAILED;
    }
    if (width != SCREEN_WIDTH || height != SCREEN_HEIGHT || bits_per_pixel != 8) {
        return FAILED;
    }
    device->mode_set = true;
    return OK;
}

Result display_create_surface(DisplayDevice* device, const SurfaceDesc& desc, Surface** out) {
    if (out == nullptr) {
        return FAILED;
    }
    *out = nullptr;
    if (backend::step_fails(Step::CreateSurface) || !device_alive(device)) {
        return FAILED;
    }
    // Only what the game makes: the one primary surface, with at most one back buffer.
    bool has_caps = (desc.dwFlags & DDSD_CAPS) != 0;
    uint32_t back_count = (desc.dwFlags & DDSD_BACKBUFFERCOUNT) ? desc.dwBackBufferCount : 0;
    bool flip_chain =
        (desc.dwCaps & (DDSCAPS_FLIP | DDSCAPS_COMPLEX)) == (DDSCAPS_FLIP | DDSCAPS_COMPLEX);
    if (!has_caps || !(desc.dwCaps & DDSCAPS_PRIMARYSURFACE) || device->primary != nullptr ||
        back_count > 1 || (back_count == 1 && !flip_chain)) {
        return FAILED;
    }
    auto primary = std::make_unique<Surface>();
    primary->device = device;
    primary->primary = true;
    if (back_count == 1) {
        auto back = std::make_unique<Surface>();
        back->device = device;
        back->front = primary.get();
        primary->back = back.get();
        device->surfaces.push_back(std::move(back));
    }
    device->primary = primary.get();
    device->surfaces.push_back(std::move(primary));
    *out = device->primary;
    common::notify_if_visible(device->primary);
    return OK;
}

Result display_create_palette(DisplayDevice* device, uint32_t flags,
                              const PaletteEntry entries[256], Palette** out) {
    if (out == nullptr) {
        return FAILED;
    }
    *out = nullptr;
    if (backend::step_fails(Step::CreatePalette) || !device_alive(device)) {
        return FAILED;
    }
    if (!(flags & DDPCAPS_8BIT) || ((flags & DDPCAPS_INITIALIZE) && entries == nullptr)) {
        return FAILED;
    }
    auto palette = std::make_unique<Palette>();
    palette->device = device;
    if (flags & DDPCAPS_INITIALIZE) {
        std::copy(entries, entries + 256, palette->entries.begin());
    }
    device->palettes.push_back(std::move(palette));
    *out = device->palettes.back().get();
    return OK;
}

uint32_t display_release(DisplayDevice* device) {
    auto& list = devices();
    auto found = std::find_if(
        list.begin(), list.end(),
        [&](const std::unique_ptr<DisplayDevice>& entry) { return entry.get() == device; });
    if (found != list.end()) {
        list.erase(found);
    }
    return 0;
}

Result surface_get_attached(Surface* primary, uint32_t caps, Surface** out) {
    if (out == nullptr) {
        return FAILED;
    }
    *out = nullptr;
    if (backend::step_fails(Step::GetAttachedSurface) || !common::surface_alive(primary)) {
        return FAILED;
    }
    if (!(caps & DDSCAPS_BACKBUFFER) || primary->back == nullptr) {
        return FAILED;
    }
    primary->back->references++;
    *out = primary->back;
    return OK;
}

Result surface_set_palette(Surface* surface, Palette* palette) {
    if (!common::surface_alive(surface) || (palette != nullptr && !palette_alive(palette))) {
        return FAILED;
    }
    if (palette != nullptr && palette->device != surface->device) {
        return FAILED;
    }
    surface->palette = palette;
    common::notify_if_visible(surface);
    return OK;
}

Result surface_lock(Surface* surface, SurfaceDesc* desc, uint32_t flags) {
    (void)flags;
    if (backend::step_fails(Step::SurfaceLock) || desc == nullptr ||
        !common::surface_alive(surface)) {
        return FAILED;
    }
    // Busy: already locked, or its device context is out.
    if (surface->locked || surface->dc) {
        return FAILED;
    }
    surface->locked = true;
    common::video_counters().locks++;
    desc->dwFlags = DDSD_CAPS;
    desc->dwWidth = SCREEN_WIDTH;
    desc->dwHeight = SCREEN_HEIGHT;
    desc->lPitch = SCREEN_WIDTH;
    desc->dwBackBufferCount = surface->back ? 1 : 0;
    desc->lpSurface = surface->pixels.data();
    desc->dwCaps = surface->primary ? DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX
                                    : DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    return OK;
}

Result surface_unlock(Surface* surface, void* bits) {
    if (!common::surface_alive(surface) || !surface->locked) {
        return FAILED;
    }
    if (bits != nullptr && bits != surface->pixels.data()) {
        return FAILED;
    }
    surface->locked = false;
    common::notify_if_visible(surface);
    return OK;
}

Result surface_flip(Surface* primary, uint32_t flags) {
    (void)flags;
    if (!common::surface_alive(primary) || !primary->primary || primary->back == nullptr) {
        return FAILED;
    }
    Surface* back = primary->back;
    if (primary->locked || back->locked || primary->dc || back->dc) {
        return FAILED;
    }
    primary->pixels.swap(back->pixels);
    common::video_counters().flips++;
    common::notify_if_visible(primary);
    return OK;
}

uint32_t surface_release(Surface* surface) {
    if (!common::surface_alive(surface)) {
        return 0;
    }
    // A back buffer lives as long as its flip chain; releasing it only drops a reference.
    if (!surface->primary) {
        if (surface->references > 1) {
            surface->references--;
        }
        return surface->references;
    }
    destroy_chain(surface->device, surface);
    return 0;
}

Result palette_set_entries(Palette* palette, uint32_t flags, int start, int count,
                           const PaletteEntry* entries) {
    (void)flags;
    if (!palette_alive(palette) || start < 0 || count < 0 || start > 256 || count > 256 - start ||
        (count > 0 && entries == nullptr)) {
        return FAILED;
    }
    std::copy(entries, entries + count, palette->entries.begin() + start);
    common::video_counters().palette_entry_sets++;
    Surface* primary = palette->device->primary;
    if (primary != nullptr && primary->palette == palette) {
        common::notify_if_visible(primary);
    }
    return OK;
}

namespace common {

bool surface_alive(const Surface* surface) {
    if (surface == nullptr) {
        return false;
    }
    for (const auto& device : devices()) {
        for (const auto& entry : device->surfaces) {
            if (entry.get() == surface) {
                return true;
            }
        }
    }
    return false;
}

Surface* dc_owner(const DeviceContext* dc) {
    if (dc == nullptr) {
        return nullptr;
    }
    for (const auto& device : devices()) {
        for (const auto& entry : device->surfaces) {
            if (entry->dc.get() == dc) {
                return entry.get();
            }
        }
    }
    return nullptr;
}

const Palette* palette_in_force(const Surface* surface) {
    if (surface->palette != nullptr) {
        return surface->palette;
    }
    return surface->front != nullptr ? surface->front->palette : nullptr;
}

void notify_if_visible(const Surface* surface) {
    if (!surface->primary || surface->device->primary != surface) {
        return;
    }
    const Palette* palette = surface->palette;
    backend::primary_changed(surface->pixels.data(),
                             palette ? palette->entries.data() : black_palette().data());
}

const Surface* visible_primary() {
    // The newest display is the one on screen.
    auto& list = devices();
    for (auto device = list.rbegin(); device != list.rend(); ++device) {
        if ((*device)->primary != nullptr) {
            return (*device)->primary;
        }
    }
    return nullptr;
}

const Surface* visible_back() {
    const Surface* primary = visible_primary();
    return primary ? primary->back : nullptr;
}

std::array<PaletteEntry, 256> hardware_palette() {
    const Surface* primary = visible_primary();
    if (primary == nullptr || primary->palette == nullptr) {
        return black_palette();
    }
    return primary->palette->entries;
}

VideoCounters& video_counters() {
    static VideoCounters instance;
    return instance;
}

void reset_video() {
    devices().clear();
    video_counters() = VideoCounters{};
}

}  // namespace common
}  // namespace platform
