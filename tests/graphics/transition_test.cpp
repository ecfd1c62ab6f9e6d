#include "graphics/transition.h"

#include <gtest/gtest.h>

#include <cstring>

#include "graphics/back_buffer.h"
#include "platform/headless/control.h"
#include "support/graphics_fixture.h"

namespace {

namespace headless = platform::headless;

constexpr uint64_t STEP_MS = 12;

class TransitionTest : public test_support::GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        ASSERT_EQ(DD_Init(window_), 1);
    }

    // Runs the effect and checks it took steps palette changes of at least 12 ms each.
    void Run(int effect, uint64_t steps) {
        const uint64_t calls = headless::palette_set_count();
        const uint64_t start = headless::now();
        Screen_Transition(effect, nullptr, 640);
        EXPECT_EQ(headless::palette_set_count() - calls, steps);
        const uint64_t elapsed = headless::now() - start;
        EXPECT_GE(elapsed, steps * STEP_MS);
        EXPECT_LT(elapsed, (steps + 1) * (STEP_MS + 2));
    }

    // The hardware palette and shadow_palette hold the same 1,024 bytes.
    void Expect_Hardware_Matches_Shadow() {
        const auto hardware = headless::hardware_palette();
        EXPECT_EQ(std::memcmp(hardware.data(), shadow_palette, sizeof(shadow_palette)), 0);
    }
};

PALETTEENTRY Entry(int r, int g, int b, int flags = platform::PC_NOCOLLAPSE) {
    return PALETTEENTRY{uint8_t(r), uint8_t(g), uint8_t(b), uint8_t(flags)};
}

// Where the fade to black leaves a component: 240 less, but anything that passes through 4 or
// below on the way goes to 0.
int Faded(int value) {
    return value > 241 ? value - 240 : 0;
}

void Expect_Colour(const PALETTEENTRY& entry, int r, int g, int b) {
    EXPECT_EQ(entry.peRed, r);
    EXPECT_EQ(entry.peGreen, g);
    EXPECT_EQ(entry.peBlue, b);
}

TEST_F(TransitionTest, FadeToBlackTakesEightyStepsOfThreeAndSparesEntryZero) {
    PALETTEENTRY table[256];
    test_support::make_test_palette(table, 60);
    table[0] = Entry(200, 100, 50);
    table[1] = Entry(255, 128, 0);
    table[2] = Entry(250, 245, 244);
    table[3] = Entry(243, 242, 241);
    table[4] = Entry(5, 4, 6, 0x07);
    Set_Palette(table, 256);

    Run(SCREEN_DARKNESS, 80);

    Expect_Colour(shadow_palette[0], 200, 100, 50);
    Expect_Colour(shadow_palette[1], 15, 0, 0);
    Expect_Colour(shadow_palette[2], 10, 5, 4);
    Expect_Colour(shadow_palette[3], 3, 2, 0);
    Expect_Colour(shadow_palette[4], 0, 0, 0);
    EXPECT_EQ(shadow_palette[4].peFlags, 0x07);
    for (int i = 5; i < 256; ++i) {
        SCOPED_TRACE(i);
        Expect_Colour(shadow_palette[i], Faded(table[i].peRed), Faded(table[i].peGreen),
                      Faded(table[i].peBlue));
        EXPECT_EQ(shadow_palette[i].peFlags, platform::PC_NOCOLLAPSE);
    }
    Expect_Hardware_Matches_Shadow();
}

TEST_F(TransitionTest, FadeToBlackOfABlackPaletteStillTakesItsTime) {
    Run(SCREEN_DARKNESS, 80);
    for (const PALETTEENTRY& entry : shadow_palette) {
        Expect_Colour(entry, 0, 0, 0);
    }
}

TEST_F(TransitionTest, FadeToWhiteReachesWhiteInSixtyFourStepsFromAnyPalette) {
    PALETTEENTRY table[256];
    test_support::make_test_palette(table, 1);
    table[0] = Entry(0, 0, 0);
    table[1] = Entry(3, 255, 128, 0x01);
    Set_Palette(table, 256);

    Run(SCREEN_WHITENESS, 64);

    for (int i = 0; i < 256; ++i) {
        SCOPED_TRACE(i);
        Expect_Colour(shadow_palette[i], 255, 255, 255);
        EXPECT_EQ(shadow_palette[i].peFlags, table[i].peFlags);
    }
    Expect_Hardware_Matches_Shadow();
}

TEST_F(TransitionTest, FadesLeaveThePixelsAloneAndOtherEffectsDoNothing) {
    uint8_t pixels[64];
    std::memset(pixels, 9, sizeof(pixels));
    ASSERT_EQ(DD_Fill_Surface(primary_surface, 33), 1);
    PALETTEENTRY table[256];
    test_support::make_test_palette(table, 20);
    Set_Palette(table, 256);

    Screen_Transition(SCREEN_WHITENESS, pixels, 8);
    for (uint8_t value : pixels) {
        EXPECT_EQ(value, 9);
    }
    EXPECT_EQ(headless::primary_pixels()[1234], 33);

    Set_Palette(table, 256);
    const uint64_t calls = headless::palette_set_count();
    Screen_Transition(7, pixels, 8);
    Screen_Transition(-1, nullptr, 0);
    EXPECT_EQ(headless::palette_set_count(), calls);
    EXPECT_EQ(std::memcmp(shadow_palette, table, sizeof(table)), 0);
}

}  // namespace
