#include "support/headless_fixture.h"

#include <cstring>

namespace test_support {
namespace {

intptr_t default_procedure(platform::WindowHandle window, uint32_t message, uintptr_t wparam,
                           intptr_t lparam) {
    return platform::default_window_proc(window, message, wparam, lparam);
}

}  // namespace

platform::WindowHandle create_test_window(platform::WindowProcFn procedure) {
    platform::WindowClass window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = procedure ? procedure : default_procedure;
    window_class.lpszClassName = "TESTCLASS";
    if (!platform::register_class(window_class)) {
        return nullptr;
    }
    return platform::create_window(platform::WS_EX_TOPMOST, "TESTCLASS", "TEST",
                                   platform::WS_POPUP | platform::WS_VISIBLE, 0, 0, 640, 480);
}

bool create_test_display(platform::WindowHandle window, TestDisplay* out,
                         const platform::PaletteEntry* entries) {
    using namespace platform;
    *out = TestDisplay{};
    if (display_create(&out->device) != OK ||
        display_set_cooperative_level(
            out->device, window,
            DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE | DDSCL_ALLOWREBOOT | DDSCL_ALLOWMODEX) != OK ||
        display_set_mode(out->device, 640, 480, 8) != OK) {
        return false;
    }
    SurfaceDesc desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    if (display_create_surface(out->device, desc, &out->primary) != OK ||
        surface_get_attached(out->primary, DDSCAPS_BACKBUFFER, &out->back) != OK) {
        return false;
    }
    PaletteEntry black[256];
    std::memset(black, 0, sizeof(black));
    if (display_create_palette(out->device, DDPCAPS_8BIT | DDPCAPS_INITIALIZE,
                               entries ? entries : black, &out->palette) != OK) {
        return false;
    }
    return surface_set_palette(out->primary, out->palette) == OK;
}

platform::SoundDevice* create_test_sound_device(platform::WindowHandle window) {
    platform::SoundDevice* device = nullptr;
    if (platform::sound_create(&device) != platform::OK) {
        return nullptr;
    }
    if (platform::sound_set_cooperative_level(device, window, platform::DSSCL_NORMAL) !=
        platform::OK) {
        platform::sound_release(device);
        return nullptr;
    }
    return device;
}

platform::SoundBuffer* create_test_sound(platform::SoundDevice* device,
                                         const std::vector<uint8_t>& samples) {
    using namespace platform;
    WaveFormat format{WAVE_FORMAT_PCM, 1, 11025, 11025, 1, 8, 0};
    SoundBufferDesc desc{20, DSBCAPS_STATIC | DSBCAPS_CTRLVOLUME, uint32_t(samples.size()), 0,
                         &format};
    SoundBuffer* buffer = nullptr;
    if (sound_create_buffer(device, desc, &buffer) != OK) {
        return nullptr;
    }
    void* region1 = nullptr;
    void* region2 = nullptr;
    uint32_t size1 = 0;
    uint32_t size2 = 0;
    if (buffer_lock(buffer, 0, uint32_t(samples.size()), &region1, &size1, &region2, &size2, 0) !=
        OK) {
        buffer_release(buffer);
        return nullptr;
    }
    std::memcpy(region1, samples.data(), size1);
    buffer_unlock(buffer, region1, size1, region2, size2);
    return buffer;
}

}  // namespace test_support
