#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/audio.h"
#include "platform/joystick.h"
#include "platform/video.h"
#include "support/headless_fixture.h"

namespace {

using namespace platform;
namespace headless = platform::headless;
using backend::Step;

// Everything the game makes, so each step can be tried on live objects.
struct World {
    WindowHandle window = test_support::create_test_window();
    test_support::TestDisplay display;
    SoundDevice* sound = nullptr;
    SoundBuffer* buffer = nullptr;

    World() {
        test_support::create_test_display(window, &display);
        sound = test_support::create_test_sound_device(window);
        buffer = test_support::create_test_sound(sound, std::vector<uint8_t>(64, 128));
        headless::set_joystick_present(true);
    }
};

struct Case {
    Step step;
    const char* name;
    std::function<bool(World&)> succeeds;  // tries the step once
};

intptr_t plain(WindowHandle w, uint32_t m, uintptr_t wp, intptr_t lp) {
    return default_window_proc(w, m, wp, lp);
}

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {Step::RegisterClass, "RegisterClass",
         [](World&) {
             return register_class({48, 0, plain, 0, 0, 0, 0, 0, 0, 0, "OTHER", 0});
         }},
        {Step::CreateWindow, "CreateWindow",
         [](World& w) {
             destroy_window(w.window);
             return create_window(0, "TESTCLASS", "x", WS_POPUP, 0, 0, 640, 480) != nullptr;
         }},
        {Step::DisplayCreate, "DisplayCreate",
         [](World&) {
             DisplayDevice* device = nullptr;
             return display_create(&device) == OK && device != nullptr;
         }},
        {Step::DisplayCooperativeLevel, "DisplayCooperativeLevel",
         [](World& w) {
             return display_set_cooperative_level(w.display.device, w.window, DDSCL_EXCLUSIVE) ==
                    OK;
         }},
        {Step::DisplayMode, "DisplayMode",
         [](World& w) { return display_set_mode(w.display.device, 640, 480, 8) == OK; }},
        {Step::CreateSurface, "CreateSurface",
         [](World& w) {
             surface_release(w.display.primary);
             Surface* surface = nullptr;
             SurfaceDesc desc{0, DDSD_CAPS, 0, 0, 0, 0, nullptr, DDSCAPS_PRIMARYSURFACE};
             return display_create_surface(w.display.device, desc, &surface) == OK;
         }},
        {Step::GetAttachedSurface, "GetAttachedSurface",
         [](World& w) {
             Surface* back = nullptr;
             return surface_get_attached(w.display.primary, DDSCAPS_BACKBUFFER, &back) == OK;
         }},
        {Step::CreatePalette, "CreatePalette",
         [](World& w) {
             PaletteEntry entries[256] = {};
             Palette* palette = nullptr;
             return display_create_palette(w.display.device, DDPCAPS_8BIT | DDPCAPS_INITIALIZE,
                                           entries, &palette) == OK;
         }},
        {Step::SurfaceLock, "SurfaceLock",
         [](World& w) {
             SurfaceDesc desc{};
             return surface_lock(w.display.back, &desc, 0) == OK && desc.lpSurface != nullptr;
         }},
        {Step::SurfaceGetDC, "SurfaceGetDC",
         [](World& w) {
             DeviceContext* dc = nullptr;
             return surface_get_dc(w.display.back, &dc) == OK && dc != nullptr;
         }},
        {Step::SoundCreate, "SoundCreate",
         [](World&) {
             SoundDevice* device = nullptr;
             return sound_create(&device) == OK && device != nullptr;
         }},
        {Step::SoundCooperativeLevel, "SoundCooperativeLevel",
         [](World& w) {
             return sound_set_cooperative_level(w.sound, w.window, DSSCL_NORMAL) == OK;
         }},
        {Step::SoundCreateBuffer, "SoundCreateBuffer",
         [](World& w) {
             return test_support::create_test_sound(w.sound, std::vector<uint8_t>(8, 1)) != nullptr;
         }},
        {Step::SoundBufferLock, "SoundBufferLock",
         [](World& w) {
             void* region = nullptr;
             uint32_t size = 0;
             return buffer_lock(w.buffer, 0, 8, &region, &size, nullptr, nullptr, 0) == OK;
         }},
        {Step::SoundBufferUnlock, "SoundBufferUnlock",
         [](World& w) {
             void* region = nullptr;
             uint32_t size = 0;
             buffer_lock(w.buffer, 0, 8, &region, &size, nullptr, nullptr, 0);
             return buffer_unlock(w.buffer, region, size, nullptr, 0) == OK;
         }},
        {Step::SoundBufferPlay, "SoundBufferPlay",
         [](World& w) {
             uint32_t status = 0;
             return buffer_play(w.buffer, 0, 0, 0) == OK &&
                    buffer_get_status(w.buffer, &status) == OK && status == DSBSTATUS_PLAYING;
         }},
        {Step::SoundBufferSetPosition, "SoundBufferSetPosition",
         [](World& w) { return buffer_set_current_position(w.buffer, 0) == OK; }},
        {Step::JoystickPosition, "JoystickPosition",
         [](World&) {
             JoyInfoEx info{sizeof(JoyInfoEx), JOY_RETURNALL, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
             return joy_get_pos_ex(JOYSTICKID1, &info) == JOYERR_NOERROR;
         }},
        {Step::JoystickCaps, "JoystickCaps",
         [](World&) {
             JoyCaps caps{};
             return joy_get_dev_caps(JOYSTICKID1, &caps) == JOYERR_NOERROR && caps.wXmax > 0;
         }},
    };
    return all;
}

class Faults : public test_support::HeadlessTest, public ::testing::WithParamInterface<size_t> {};

// Without the fault the step succeeds; with it, it reports the failure it stands for.
TEST_P(Faults, EachInjectedFaultIsReportedAsThatFailure) {
    const Case& c = cases()[GetParam()];
    ASSERT_EQ(size_t(c.step), GetParam()) << "one case per step, in order";
    {
        World world;
        ASSERT_TRUE(c.succeeds(world)) << c.name << " works without a fault";
    }
    headless::reset();
    World world;
    headless::fail(c.step);
    EXPECT_FALSE(c.succeeds(world)) << c.name << " with the fault on";
}

INSTANTIATE_TEST_SUITE_P(EveryStep, Faults,
                         ::testing::Range<size_t>(0, size_t(Step::JoystickCaps) + 1),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                             return std::string(cases()[info.param].name);
                         });

class FaultCounting : public test_support::HeadlessTest {};

TEST_F(FaultCounting, TheNextCallsFailThenItWorksAgain) {
    headless::fail(Step::DisplayCreate, 2);
    DisplayDevice* device = nullptr;
    EXPECT_NE(display_create(&device), OK);
    EXPECT_NE(display_create(&device), OK);
    EXPECT_EQ(display_create(&device), OK);
    headless::fail(Step::DisplayCreate);
    EXPECT_NE(display_create(&device), OK);
    headless::clear_faults();
    EXPECT_EQ(display_create(&device), OK);
    EXPECT_EQ(headless::step_calls(Step::DisplayCreate), 5u);
}

}  // namespace
