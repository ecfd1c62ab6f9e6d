// Shared set-up for the graphics layer's tests: a fresh headless platform, the graphics
// globals as a fresh process has them, and the game's window for the display to take over.
#pragma once
#include <gtest/gtest.h>

#include "graphics/display.h"
#include "platform/window.h"
#include "support/headless_fixture.h"

namespace test_support {

class GraphicsTest : public HeadlessTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The window DD_Init needs; made in SetUp.
    platform::WindowHandle window_ = nullptr;
};

}  // namespace test_support
