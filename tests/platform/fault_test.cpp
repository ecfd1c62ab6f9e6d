#include <gtest/gtest.h>

#include <string>

#include "platform/audio.h"
#include "platform/joystick.h"
#include "platform/video.h"
#include "support/headless_fixture.h"

namespace {

using namespace platform;
namespace headless = platform::headless;
using backend::Step;

// Everything the game makes, so each step can be tried on live objects, and what steps hand back.
struct World {
    WindowHandle window = test_support::create_test_window();
    test_support::TestDisplay d;
    SoundDevice* sound = test_support::create_test_sound_device(window);
    SoundBuffer* buffer = test_support::create_test_sound(sound, std::vector<uint8_t>(64, 128));
    WindowClass other{};
    DisplayDevice* device = nullptr;
    Surface* surface = nullptr;
    Palette* palette = nullptr;
    DeviceContext* dc = nullptr;
    SoundDevice* sound2 = nullptr;
    SurfaceDesc desc{};
    PaletteEntry entries[256] = {};
    void* region = nullptr;
    uint32_t size = 0;
    JoyInfoEx info{};
    JoyCaps caps{};

    World() {
        test_support::create_test_display(window, &d);
        headless::set_joystick_present(true);
        other.lpfnWndProc = default_window_proc;
        other.lpszClassName = "OTHER";
        info.dwSize = sizeof(info);
        desc.dwFlags = DDSD_CAPS;
        desc.dwCaps = DDSCAPS_PRIMARYSURFACE;
    }
};

// The case for each step, in the order of the steps: one try of it, and its name.
struct Case {
    bool (*succeeds)(World&);
    const char* name;
};
#define STEP(name, ...)                                     \
    {                                                       \
        [](World& w) -> bool { return __VA_ARGS__; }, #name \
    }

constexpr Case kCases[] = {
    STEP(RegisterClass, register_class(w.other)),
    STEP(CreateWindow, (destroy_window(w.window),
                        create_window(0, "TESTCLASS", "x", WS_POPUP, 0, 0, 640, 480) != nullptr)),
    STEP(DisplayCreate, display_create(&w.device) == OK && w.device != nullptr),
    STEP(DisplayCooperativeLevel,
         display_set_cooperative_level(w.d.device, w.window, DDSCL_EXCLUSIVE) == OK),
    STEP(DisplayMode, display_set_mode(w.d.device, 640, 480, 8) == OK),
    STEP(CreateSurface, (surface_release(w.d.primary),
                         display_create_surface(w.d.device, w.desc, &w.surface) == OK)),
    STEP(GetAttachedSurface,
         surface_get_attached(w.d.primary, DDSCAPS_BACKBUFFER, &w.surface) == OK),
    STEP(CreatePalette, display_create_palette(w.d.device, DDPCAPS_8BIT | DDPCAPS_INITIALIZE,
                                               w.entries, &w.palette) == OK),
    STEP(SurfaceLock, surface_lock(w.d.back, &w.desc, 0) == OK && w.desc.lpSurface != nullptr),
    STEP(SurfaceGetDC, surface_get_dc(w.d.back, &w.dc) == OK && w.dc != nullptr),
    STEP(SoundCreate, sound_create(&w.sound2) == OK && w.sound2 != nullptr),
    STEP(SoundCooperativeLevel, sound_set_cooperative_level(w.sound, w.window, DSSCL_NORMAL) == OK),
    STEP(SoundCreateBuffer, test_support::create_test_sound(w.sound, {1, 2}) != nullptr),
    STEP(SoundBufferLock,
         buffer_lock(w.buffer, 0, 8, &w.region, &w.size, nullptr, nullptr, 0) == OK),
    STEP(SoundBufferUnlock, (buffer_lock(w.buffer, 0, 8, &w.region, &w.size, nullptr, nullptr, 0),
                             buffer_unlock(w.buffer, w.region, w.size, nullptr, 0) == OK)),
    STEP(SoundBufferPlay, buffer_play(w.buffer, 0, 0, 0) == OK &&
                              buffer_get_status(w.buffer, &w.size) == OK &&
                              w.size == DSBSTATUS_PLAYING),
    STEP(SoundBufferSetPosition, buffer_set_current_position(w.buffer, 0) == OK),
    STEP(JoystickPosition, joy_get_pos_ex(JOYSTICKID1, &w.info) == JOYERR_NOERROR),
    STEP(JoystickCaps, joy_get_dev_caps(JOYSTICKID1, &w.caps) == JOYERR_NOERROR && w.caps.wXmax),
};

static_assert(std::size(kCases) == size_t(Step::JoystickCaps) + 1, "a new step needs its case");

class Faults : public test_support::HeadlessTest, public ::testing::WithParamInterface<size_t> {};

// Without the fault the step succeeds; with it, it reports the failure it stands for. A case
// out of its step's place tries another step, so it fails here.
TEST_P(Faults, EachInjectedFaultIsReportedAsThatFailure) {
    for (bool faulty : {false, true}) {
        headless::reset();
        World world;
        if (faulty) {
            headless::fail(Step(GetParam()));
        }
        EXPECT_EQ(kCases[GetParam()].succeeds(world), !faulty) << (faulty ? "with" : "without");
    }
}

INSTANTIATE_TEST_SUITE_P(EveryStep, Faults, ::testing::Range<size_t>(0, std::size(kCases)),
                         [](const auto& info) { return std::string(kCases[info.param].name); });

}  // namespace
