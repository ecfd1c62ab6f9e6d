// Set-up for the main menu's tests: a display, the twelve sounds and the menu's two pictures in a
// scratch directory, every menu global and setting at its start value, and a way to run frames
// with keys held.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/headless/control.h"
#include "support/graphics_fixture.h"

// Pixel value of the test menu background, and the entry range of its palette that holds the
// value text's colours: entry MENU_GLOW_ENTRY + j is the colour of glow 68 + 10 j (j = 0..18),
// every other entry black.
constexpr uint8_t MENU_BACKGROUND_PIXEL = 11;
constexpr uint8_t MENU_GLOW_ENTRY = 150;
// 2,205 samples: each test sound lasts 200 ms.
constexpr size_t MENU_SOUND_SAMPLES = 2205;
constexpr uint64_t MENU_SOUND_MS = 200;

class MainMenuTest : public test_support::GraphicsTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the menu background with the glow palette into the data directory.
    void Write_Menu_Background();
    // One menu frame with these keys held (released again afterwards); Main_Menu's result.
    static int Frame(std::initializer_list<int> keys = {});
    // How many events of this kind the sound with this id has had; value -1 matches any.
    static int Sound_Events(int id, platform::headless::SoundEvent::Kind kind, int value = -1);
    // The palette entry that shows glow v.
    static uint8_t Glow_Ink(int v);
    // The palette that was showing before the menu was entered.
    PALETTEENTRY game_palette[256];
    std::string dir;
};
