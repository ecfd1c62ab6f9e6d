// Set-up for the play-screen drawing tests: a display whose palette makes text colours easy to
// find, block images and a background of known pixel values, and the back buffer locked.
#pragma once
#include <cstdint>

#include "support/graphics_fixture.h"

namespace test_support {

// Pixel values of the test art: block image i is filled with PLAY_BLOCK_PIXEL + i.
constexpr uint8_t PLAY_BACKGROUND_PIXEL = 9;
constexpr uint8_t PLAY_BLOCK_PIXEL = 40;
// Palette: entry PLAY_GREEN is pure green (0, 255, 0); entry PLAY_DARK_GREEN + k is (0, 2k, 0)
// for k = 0..51; every other entry is white.
constexpr uint8_t PLAY_GREEN = 200;
constexpr uint8_t PLAY_DARK_GREEN = 100;

class PlayScreenTest : public GraphicsTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // True when every pixel of the 16 x 16 square at (x, y) of the back buffer is value.
    static bool Block_At(int x, int y, uint8_t value);
    // The pixel at (x, y) of the back buffer.
    static uint8_t Pixel(int x, int y);
};

}  // namespace test_support
