#include "graphics/transition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "graphics/back_buffer.h"
#include "platform/headless/control.h"
#include "support/graphics_fixture.h"

namespace {

namespace headless = platform::headless;

class TransitionTest : public test_support::GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        ASSERT_EQ(DD_Init(window_), 1);
        ASSERT_EQ(DD_Fill_Surface(primary_surface, 33), 1);
    }

    // Runs the effect: `steps` palette changes, each followed by 12 ms on the virtual clock,
    // ending with the hardware palette equal to `want` and shadow_palette; no pixel changes.
    void Run(int effect, uint64_t steps, const PALETTEENTRY* want) {
        const uint64_t calls = headless::palette_set_count(), start = headless::now();
        uint8_t pixels[64];
        std::memset(pixels, 9, sizeof pixels);
        Screen_Transition(effect, pixels, 8);
        EXPECT_EQ(std::count(pixels, pixels + 64, 9), 64);
        EXPECT_EQ(headless::primary_pixels()[1234], 33);
        EXPECT_EQ(headless::palette_set_count() - calls, steps);
        EXPECT_GE(headless::now() - start, steps * 12);
        EXPECT_LT(headless::now() - start, (steps + 1) * 14);
        EXPECT_EQ(std::memcmp(shadow_palette, want, 1024), 0);
        EXPECT_EQ(std::memcmp(headless::hardware_palette().data(), want, 1024), 0);
    }
};

TEST_F(TransitionTest, FadeToBlackTakesEightyStepsOfThreeAndSparesEntryZero) {
    PALETTEENTRY table[256], want[256];
    test_support::make_test_palette(table, 60);
    const PALETTEENTRY first[] = {
        {200, 100, 50, 4}, {255, 128, 0, 4}, {250, 245, 244, 4}, {243, 242, 241, 4}, {5, 4, 6, 7}};
    const PALETTEENTRY faded[] = {
        {200, 100, 50, 4}, {15, 0, 0, 4}, {10, 5, 4, 4}, {3, 2, 0, 4}, {0, 0, 0, 7}};
    std::memcpy(table, first, sizeof first);
    // Anything that passes through 4 or below on the way ends at 0, the rest 240 lower.
    auto fade = [](int v) { return uint8_t(v > 241 ? v - 240 : 0); };
    for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY& e = table[i];
        want[i] =
            i < 5 ? faded[i] : PALETTEENTRY{fade(e.peRed), fade(e.peGreen), fade(e.peBlue), 4};
    }
    Set_Palette(table, 256);
    Run(SCREEN_DARKNESS, 80, want);
}

TEST_F(TransitionTest, FadeToWhiteReachesWhiteInSixtyFourStepsAndOtherEffectsDoNothing) {
    PALETTEENTRY table[256], want[256];
    test_support::make_test_palette(table, 1);
    table[0] = PALETTEENTRY{0, 0, 0, 4};
    table[1] = PALETTEENTRY{3, 255, 128, 1};
    for (int i = 0; i < 256; ++i) {
        want[i] = PALETTEENTRY{255, 255, 255, table[i].peFlags};
    }
    Set_Palette(table, 256);
    Run(SCREEN_WHITENESS, 64, want);
    Set_Palette(table, 256);
    const uint64_t calls = headless::palette_set_count();
    Screen_Transition(7, nullptr, 640);
    Screen_Transition(-1, nullptr, 0);
    EXPECT_EQ(headless::palette_set_count(), calls);
}

}  // namespace
