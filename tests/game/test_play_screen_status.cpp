// The status text of the play screen: the six counters in pure green at their places, the level
// shown from 1, the banner's pulsing green, and what a refused device context leaves out.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "game/line_clear.h"
#include "game/play_screen.h"
#include "game/well.h"
#include "graphics/back_buffer.h"
#include "platform/headless/control.h"
#include "support/game_rules.h"
#include "support/play_screen_fixture.h"
#include "support/screen_text.h"

namespace {

using test_support::PLAY_BACKGROUND_PIXEL;
using test_support::PLAY_DARK_GREEN;
using test_support::PLAY_GREEN;
using test_support::PlayScreenTest;

constexpr const char* BANNER = "CELLSTORM Version 1.0";

struct Shown {
    std::string text;
    int x;
    int y;
};

void Fill_Back(uint8_t value) {
    std::memset(back_buffer, value, 640 * 480);
}

int Count_Value(const uint8_t* pixels, uint8_t value) {
    int count = 0;
    for (int i = 0; i < 640 * 480; ++i) {
        count += pixels[i] == value;
    }
    return count;
}

// Checks each text, then paints its box over so that what is left shows stray ink.
void Expect_Texts(const std::vector<Shown>& texts, uint8_t ink) {
    for (const Shown& shown : texts) {
        EXPECT_EQ(screen_text_mismatch(back_buffer, shown.x, shown.y, shown.text, ink), "");
    }
    for (const Shown& shown : texts) {
        int width = screen_text_width(shown.text) + 4;
        for (int y = shown.y - 2; y < std::min(480, shown.y + 19); ++y) {
            std::memset(back_buffer + y * 640 + shown.x - 2, PLAY_BACKGROUND_PIXEL, width);
        }
    }
    EXPECT_EQ(Count_Value(back_buffer, ink), 0) << "ink outside the expected texts";
}

TEST_F(PlayScreenTest, CountersAtTheirPositionsInPureGreen) {
    score = 12345;
    level = 4;
    lines_total = 678;
    clears_of_3 = 1;
    clears_of_4 = 22;
    clears_of_6 = 333;
    Fill_Back(PLAY_BACKGROUND_PIXEL);

    EXPECT_EQ(Draw_Status(), 1);
    ASSERT_NE(back_buffer, nullptr);
    EXPECT_EQ(back_locked, 1);
    Expect_Texts({{"12345", 432, 80},
                  {"5", 430, 150},
                  {"678", 420, 280},
                  {"1", 438, 214},
                  {"22", 512, 214},
                  {"333", 580, 214}},
                 PLAY_GREEN);
}

TEST_F(PlayScreenTest, LevelIsShownFromOneAndBeyondTheMenuRange) {
    for (int shown_level : {0, 9, 12}) {
        level = shown_level;
        Fill_Back(PLAY_BACKGROUND_PIXEL);
        Draw_Status();
        EXPECT_EQ(screen_text_mismatch(back_buffer, 430, 150, std::to_string(shown_level + 1),
                                       PLAY_GREEN),
                  "");
    }
}

TEST_F(PlayScreenTest, ExtremeCountersAreWrittenWhole) {
    score = INT_MIN;
    level = INT_MAX;  // shown + 1 without wrapping
    Fill_Back(PLAY_BACKGROUND_PIXEL);
    Draw_Status();
    EXPECT_EQ(screen_text_mismatch(back_buffer, 432, 80, "-2147483648", PLAY_GREEN), "");
    EXPECT_EQ(screen_text_mismatch(back_buffer, 430, 150, "2147483648", PLAY_GREEN), "");
}

TEST_F(PlayScreenTest, BannerGreenStepsUpAndDownOneStepPerFrame) {
    std::vector<int> greens;
    for (int g = 2; g <= 102; g += 2) {
        greens.push_back(g);
    }
    for (int g = 100; g >= 0; g -= 2) {
        greens.push_back(g);
    }
    for (int g = 2; g <= 10; g += 2) {
        greens.push_back(g);
    }
    for (size_t frame = 0; frame < greens.size(); ++frame) {
        Fill_Back(PLAY_BACKGROUND_PIXEL);
        Draw_Status();
        uint8_t ink = uint8_t(PLAY_DARK_GREEN + greens[frame] / 2);
        ASSERT_EQ(screen_text_mismatch(back_buffer, 8, 464, BANNER, ink), "")
            << "frame " << frame << " green " << greens[frame];
    }
}

TEST_F(PlayScreenTest, RefusedDeviceContextLeavesOutTheTextOnly) {
    score = 99;
    platform::headless::fail(platform::backend::Step::SurfaceGetDC);
    Fill_Back(0);

    EXPECT_EQ(Draw_Status(), 0);
    ASSERT_NE(back_buffer, nullptr);  // handed back locked all the same
    EXPECT_EQ(back_locked, 1);
    EXPECT_EQ(banner_glow, 0);  // the glow waits for a frame that shows it
    EXPECT_EQ(banner_glow_step, 2);

    Draw_Play_Screen(back_buffer);
    ASSERT_NE(back_buffer, nullptr);
    EXPECT_TRUE(Block_At(32, 16, uint8_t(test_support::PLAY_BLOCK_PIXEL + CELL_WALL)));
    EXPECT_EQ(Count_Value(back_buffer, PLAY_GREEN), 0);
    EXPECT_EQ(banner_glow, 0);

    platform::headless::clear_faults();
    EXPECT_EQ(Draw_Status(), 1);
    EXPECT_EQ(banner_glow, 2);
    EXPECT_EQ(screen_text_mismatch(back_buffer, 432, 80, "99", PLAY_GREEN), "");
}

}  // namespace
