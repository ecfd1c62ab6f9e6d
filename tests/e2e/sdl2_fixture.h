// The SDL2 backend under SDL's own test drivers: an offscreen window drawn by the software
// renderer (its pixels can be read back) and a dummy or disk audio device.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/video.h"
#include "platform/window.h"

namespace sdl2_test {

// Window procedure that records the messages it is given and hands the rest to the default.
struct Seen {
    uint32_t message;
    uintptr_t wparam;
    intptr_t lparam;
};
const std::vector<Seen>& seen_messages();

class Sdl2Window : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Takes and dispatches every waiting message (the game's loop minus Game_Main).
    void drain_messages();

    platform::WindowHandle window = nullptr;
};

// The window with the game's display on it: primary, back buffer and an all-black palette.
class Sdl2Display : public Sdl2Window {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Sets palette entry index to r, g, b.
    void set_colour(int index, uint8_t r, uint8_t g, uint8_t b);
    // Fills the back buffer with index and puts a single pixel of other at (x, y), then flips.
    void flip_with(uint8_t index, int x, int y, uint8_t other);
    // The colour (0xRRGGBB) the window shows at the centre of screen pixel (x, y).
    uint32_t shown(int x, int y);
    // The colour the window shows at an output pixel (bars included).
    uint32_t shown_output(int x, int y);

    platform::DisplayDevice* display = nullptr;
    platform::Surface* primary = nullptr;
    platform::Surface* back = nullptr;
    platform::Palette* palette = nullptr;
};

}  // namespace sdl2_test
