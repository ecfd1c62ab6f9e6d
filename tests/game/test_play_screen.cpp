// Play-screen drawing, checked pixel by pixel in the back buffer.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "app/level_art.h"
#include "common/random.h"
#include "game/line_clear.h"
#include "game/play_screen.h"
#include "game/well.h"
#include "graphics/back_buffer.h"
#include "support/game_rules.h"
#include "support/graphics_fixture.h"
#include "support/screen_text.h"

namespace {

// Block image i is filled with BLOCK + i. Palette: GREEN is (0, 255, 0), DARK + k is (0, 2k, 0),
// the rest white, so every text colour has an exact entry.
constexpr uint8_t BG = 9, BLOCK = 40, GREEN = 200, DARK = 100;

class PlayScreenTest : public test_support::GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        ASSERT_EQ(DD_Init(window_), 1);
        PALETTEENTRY palette[256];
        for (int i = 0; i < 256; ++i)
            palette[i] = i == GREEN ? PALETTEENTRY{0, 255, 0, 4}
                         : (i >= DARK && i <= DARK + 51)
                             ? PALETTEENTRY{0, uint8_t(2 * (i - DARK)), 0, 4}
                             : PALETTEENTRY{255, 255, 255, 4};
        Set_Palette(palette, 256);
        Reset_Game_Rules();
        banner_glow = 0;
        banner_glow_step = 2;
        for (int i = 0; i <= 32; ++i) {
            BitmapImage* image = i < 32 ? &block_images[i] : &play_background;
            Create_Image(image, 0, 0, i < 32 ? 16 : 640, i < 32 ? 16 : 480);
            std::memset(image->buffer, i < 32 ? BLOCK + i : BG, size_t(image->num_bytes));
            image->state = IMAGE_LOADED;
        }
        DD_Lock_Back_Surface();
    }
    void TearDown() override {
        DD_Unlock_Back_Surface();
        Free_Art_Images();
        DD_Shutdown();
        GraphicsTest::TearDown();
    }
    static bool Block_At(int x, int y, int value) {
        for (int r = 0; r < 256; ++r)
            if (back_buffer[(y + r / 16) * 640 + x + r % 16] != value)
                return false;
        return true;
    }
};

// True when the generator seeded with seed has taken exactly `draws` numbers since.
bool Took_Draws(uint32_t seed, int draws) {
    const int next[2] = {Random_Next(), Random_Next()};
    Random_Seed(seed);
    for (int i = 0; i < draws; ++i)
        Random_Next();
    return Random_Next() == next[0] && Random_Next() == next[1];
}

TEST_F(PlayScreenTest, WellPreviewAndPieceAtTheirPlaces) {
    well[2][7].value = 3;
    Place_Piece(5, 112, 0, PIECE_BLOCKED);  // the bar, in box row 2, over the locked cell
    EXPECT_EQ(Draw_Play_Screen(back_buffer), 1);
    ASSERT_NE(back_buffer, nullptr);  // locked again after the text
    EXPECT_TRUE(Block_At(32, 16, BLOCK + CELL_WALL) && Block_At(32, 32, BLOCK + CELL_WALL));
    EXPECT_TRUE(Block_At(32 + 16 * 9, 16 + 16 * 25, BLOCK + CELL_FLOOR));
    EXPECT_TRUE(Block_At(32 + 16 * 6, 16 + 16 * 2, BG));
    for (int c = 0; c < 4; ++c)
        EXPECT_TRUE(Block_At(32 + 112 + 16 * c, 16 + 32, BLOCK + 11));
    for (int shape = 0; shape < SHAPE_TABLE_SIZE; ++shape) {
        piece.next_shape = shape;
        std::memset(back_buffer, BG, 640 * 480);
        Draw_Next_Piece(back_buffer, &piece);
        const Shape& s = shape_table[shape];
        for (int i = 0; i < 16; ++i)
            EXPECT_TRUE(Block_At(530 + 16 * (i % 4), 304 + 16 * (i / 4),
                                 s.grid[i / 4][i % 4] ? BLOCK + s.image : BG));
    }
}

TEST_F(PlayScreenTest, PieceHiddenWhileClearingAndBeforeItsSpawn) {
    Place_Piece(5, 112, 0, PIECE_FALLING);
    for (int phase : {CLEAR_START, CLEAR_FLASH, CLEAR_COLLAPSE, CLEAR_NONE}) {
        clear_phase = phase;
        piece.state = phase == CLEAR_NONE ? PIECE_SPAWN : PIECE_FALLING;
        EXPECT_EQ(Draw_Piece(back_buffer, &piece), 0);
        Draw_Play_Screen(back_buffer);
        EXPECT_TRUE(Block_At(32 + 128, 16 + 32, BG)) << phase;
    }
}

TEST_F(PlayScreenTest, SparkleDotsColoursAndDrawsInEachFlashFrame) {
    const uint8_t colours[6] = {237, 245, 248, 241, 246, 239};
    well[20][8].value = 20;  // a fixed cell inside the cleared row
    full_rows[0] = 20;
    full_row_count = 1;
    clear_phase = CLEAR_FLASH;
    for (flash_count = 0; flash_count < 3; ++flash_count) {
        for (flash_tick = 0; flash_tick < 5; ++flash_tick) {
            std::memset(back_buffer, BG, 640 * 480);
            Random_Seed(77);
            Draw_Well(back_buffer, 32, 16);
            const int dots = flash_tick < 2 ? 64 - 16 * flash_tick * flash_count : 0;
            EXPECT_TRUE(Took_Draws(77, 15 * dots * 3)) << flash_count << flash_tick;
            // The same dots again: a, b, k per dot, cells from the left; fixed cells untouched.
            std::vector<uint8_t> want(640 * 16, BG);
            Random_Seed(77);
            for (int column = 0; column < 18; ++column) {
                const int value = well[20][column].value;
                for (int y = 0; y < 16 && value != 0; ++y)
                    std::memset(&want[y * 640 + 32 + 16 * column], BLOCK + value, 16);
                for (int i = 0; i < dots && value == 0; ++i) {
                    int a = Random_Next(), b = Random_Next(), k = Random_Next();
                    want[b % 16 * 640 + 32 + 16 * column + a % 16] =
                        colours[2 * flash_count + k % 2];
                }
            }
            EXPECT_EQ(std::memcmp(&want[0], back_buffer + 336 * 640, want.size()), 0)
                << flash_count << flash_tick;
        }
    }
}

TEST_F(PlayScreenTest, CountersInPureGreenLevelFromOneAndThePulsingBanner) {
    score = INT_MIN;
    level = 4;
    lines_total = 678;
    clears_of_3 = 1;
    clears_of_4 = 22;
    clears_of_6 = 333;
    EXPECT_EQ(Draw_Status(), 1);
    ASSERT_EQ(back_locked, 1);
    EXPECT_EQ(screen_text_mismatch(back_buffer, 432, 80, "-2147483648", GREEN), "");
    EXPECT_EQ(screen_text_mismatch(back_buffer, 430, 150, "5", GREEN), "");
    EXPECT_EQ(screen_text_mismatch(back_buffer, 420, 280, "678", GREEN), "");
    EXPECT_EQ(screen_text_mismatch(back_buffer, 438, 214, "1", GREEN), "");
    EXPECT_EQ(screen_text_mismatch(back_buffer, 512, 214, "22", GREEN), "");
    EXPECT_EQ(screen_text_mismatch(back_buffer, 580, 214, "333", GREEN), "");
    level = INT_MAX;
    // The banner's green after the first frame's 2: up to 102, down to 0, up again.
    for (int frame = 2; frame <= 104; ++frame) {
        const int green = frame <= 51    ? 2 * frame
                          : frame <= 102 ? 204 - 2 * frame
                                         : 2 * frame - 204;
        std::memset(back_buffer, BG, 640 * 480);
        Draw_Status();
        ASSERT_EQ(
            screen_text_mismatch(back_buffer, 8, 464, "CELLSTORM Version 1.0", DARK + green / 2),
            "")
            << frame;
    }
    EXPECT_EQ(screen_text_mismatch(back_buffer, 430, 150, "2147483648", GREEN), "");
}

TEST_F(PlayScreenTest, RefusedDeviceContextOrLockLeavesOutOnlyWhatItMust) {
    platform::headless::fail(platform::backend::Step::SurfaceGetDC);
    EXPECT_EQ(Draw_Status(), 0);
    Draw_Play_Screen(back_buffer);
    ASSERT_NE(back_buffer, nullptr);  // handed back locked all the same
    EXPECT_TRUE(Block_At(32, 16, BLOCK + CELL_WALL));
    EXPECT_EQ(std::count(back_buffer, back_buffer + 640 * 480, GREEN), 0);
    EXPECT_EQ(banner_glow, 0);  // the glow waits for a frame that shows it

    platform::headless::clear_faults();
    DD_Unlock_Back_Surface();
    platform::headless::fail(platform::backend::Step::SurfaceLock);
    DD_Lock_Back_Surface();
    ASSERT_EQ(back_buffer, nullptr);
    full_rows[0] = 20;
    full_row_count = 1;
    clear_phase = CLEAR_FLASH;
    Random_Seed(3);
    EXPECT_EQ(Draw_Play_Screen(back_buffer), 1);
    // Nothing drawn, but the sparkle's draws are taken, so the shapes to come stay the same.
    EXPECT_TRUE(Took_Draws(3, 16 * 64 * 3));
}

}  // namespace
