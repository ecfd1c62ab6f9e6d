// Shared set-up for tests on the headless platform: a fresh process per test, and the window,
// display and sound device the game would have made. Those are made through the seam alone, so
// the SDL2 backend's tests make them the same way.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/audio.h"
#include "platform/headless/control.h"
#include "platform/video.h"
#include "platform/window.h"

namespace test_support {

// Every test starts (and leaves) the platform as a fresh process would.
class HeadlessTest : public ::testing::Test {
  protected:
    void SetUp() override { platform::headless::reset(); }
    void TearDown() override { platform::headless::reset(); }
};

// Registers a window class with the given procedure (the default handling when null) and
// creates the one window; null on failure.
platform::WindowHandle create_test_window(platform::WindowProcFn procedure = nullptr);

// The display objects the game's start-up makes.
struct TestDisplay {
    platform::DisplayDevice* device = nullptr;
    platform::Surface* primary = nullptr;
    platform::Surface* back = nullptr;
    platform::Palette* palette = nullptr;
};

// Full screen 640 x 480 x 8 on the window, a primary with one back buffer and an attached
// palette of the given entries (all black when null). False when any step failed.
bool create_test_display(platform::WindowHandle window, TestDisplay* out,
                         const platform::PaletteEntry* entries = nullptr);

// A sound device on the window; null on failure.
platform::SoundDevice* create_test_sound_device(platform::WindowHandle window);

// An 8-bit mono 11,025 Hz buffer holding the given samples; null on failure.
platform::SoundBuffer* create_test_sound(platform::SoundDevice* device,
                                         const std::vector<uint8_t>& samples);

}  // namespace test_support
