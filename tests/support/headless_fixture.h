// Tests on the headless platform: a fresh process per test, and the window, display and sound
// device the game would have made, through the seam alone, so the SDL2 tests make them alike.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/audio.h"
#include "platform/headless/control.h"
#include "platform/video.h"
#include "platform/window.h"

namespace test_support {

class HeadlessTest : public ::testing::Test {
  protected:
    void SetUp() override { platform::headless::reset(); }
    void TearDown() override { platform::headless::reset(); }
};

// The one window, of a class with this procedure (the default handling when null).
platform::WindowHandle create_test_window(platform::WindowProcFn procedure = nullptr);

struct TestDisplay {
    platform::DisplayDevice* device = nullptr;
    platform::Surface* primary = nullptr;
    platform::Surface* back = nullptr;
    platform::Palette* palette = nullptr;
};

// Full screen 640 x 480 x 8, a primary with one back buffer and a palette of these entries
// (all black when null), as the game's start-up makes them. False when any step failed.
bool create_test_display(platform::WindowHandle window, TestDisplay* out,
                         const platform::PaletteEntry* entries = nullptr);

// Null on failure, as is create_test_sound.
platform::SoundDevice* create_test_sound_device(platform::WindowHandle window);

// An 8-bit mono 11,025 Hz buffer holding the samples.
platform::SoundBuffer* create_test_sound(platform::SoundDevice* device,
                                         const std::vector<uint8_t>& samples);

}  // namespace test_support
