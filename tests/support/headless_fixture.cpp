#include "support/headless_fixture.h"

#include <cstring>

namespace test_support {

using namespace platform;

WindowHandle create_test_window(WindowProcFn procedure) {
    WindowClass window_class{};
    window_class.lpfnWndProc = procedure ? procedure : default_window_proc;
    window_class.lpszClassName = "TESTCLASS";
    if (!register_class(window_class)) {
        return nullptr;
    }
    return create_window(WS_EX_TOPMOST, "TESTCLASS", "TEST", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480);
}

bool create_test_display(WindowHandle window, TestDisplay* out, const PaletteEntry* entries) {
    *out = TestDisplay{};
    SurfaceDesc desc{};
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    const PaletteEntry black[256] = {};
    return display_create(&out->device) == OK &&
           display_set_cooperative_level(out->device, window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE) ==
               OK &&
           display_set_mode(out->device, 640, 480, 8) == OK &&
           display_create_surface(out->device, desc, &out->primary) == OK &&
           surface_get_attached(out->primary, DDSCAPS_BACKBUFFER, &out->back) == OK &&
           display_create_palette(out->device, DDPCAPS_8BIT | DDPCAPS_INITIALIZE,
                                  entries ? entries : black, &out->palette) == OK &&
           surface_set_palette(out->primary, out->palette) == OK;
}

SoundDevice* create_test_sound_device(WindowHandle window) {
    SoundDevice* device = nullptr;
    bool made = sound_create(&device) == OK &&
                sound_set_cooperative_level(device, window, DSSCL_NORMAL) == OK;
    return made ? device : nullptr;
}

SoundBuffer* create_test_sound(SoundDevice* device, const std::vector<uint8_t>& samples) {
    WaveFormat format{WAVE_FORMAT_PCM, 1, 11025, 11025, 1, 8, 0};
    const uint32_t size = uint32_t(samples.size());
    SoundBufferDesc desc{20, DSBCAPS_STATIC | DSBCAPS_CTRLVOLUME, size, 0, &format};
    SoundBuffer* buffer = nullptr;
    void* region = nullptr;
    uint32_t locked = 0;
    if (sound_create_buffer(device, desc, &buffer) != OK ||
        buffer_lock(buffer, 0, size, &region, &locked, nullptr, nullptr, 0) != OK) {
        buffer_release(buffer);
        return nullptr;
    }
    std::memcpy(region, samples.data(), locked);
    buffer_unlock(buffer, region, locked, nullptr, 0);
    return buffer;
}

}  // namespace test_support
