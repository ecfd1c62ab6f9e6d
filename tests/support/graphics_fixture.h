// Shared set-up for the graphics layer's tests: a fresh headless platform, the graphics
// globals back at their start values, and the game's window for the display to take over.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "graphics/display.h"
#include "platform/window.h"
#include "support/headless_fixture.h"

namespace test_support {

// Puts every graphics global (display objects, palette shadow, back buffer lock, work_bitmap)
// back to what a fresh process has, freeing work_bitmap's pixels.
void reset_graphics_globals();

class GraphicsTest : public HeadlessTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The window DD_Init needs; made in SetUp.
    platform::WindowHandle window_ = nullptr;
};

// A palette whose entry i is distinct for every i (flags 4), for telling entries apart.
void make_test_palette(PALETTEENTRY out[256], int seed);

}  // namespace test_support
