// The play screen's cells: background, well, next-shape preview, falling piece and the sparkle of
// rows being cleared, checked pixel by pixel in the back buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/random.h"
#include "game/line_clear.h"
#include "game/play_screen.h"
#include "game/well.h"
#include "graphics/back_buffer.h"
#include "platform/headless/control.h"
#include "support/game_rules.h"
#include "support/play_screen_fixture.h"

namespace {

using test_support::PLAY_BACKGROUND_PIXEL;
using test_support::PLAY_BLOCK_PIXEL;
using test_support::PlayScreenTest;

constexpr uint8_t BG = PLAY_BACKGROUND_PIXEL;

uint8_t Block(int image) {
    return uint8_t(PLAY_BLOCK_PIXEL + image);
}

int Screen_X(int column) {
    return 32 + 16 * column;
}
int Screen_Y(int row) {
    return 16 + 16 * row;
}

void Fill_Back(uint8_t value) {
    std::memset(back_buffer, value, 640 * 480);
}

// Row `row` just after its piece cells were emptied: walls at both sides, one fixed cell of
// value 20 at column 8, the rest empty, listed as the only full row.
constexpr int CLEARED_ROW = 20;
constexpr int FIXED_COLUMN = 8;
constexpr int FIXED_VALUE = 20;
constexpr int SPARKLED_CELLS = 15;
void Set_Up_Flash(int flash, int tick) {
    for (int column = 1; column < 17; ++column) {
        well[CLEARED_ROW][column].value = CELL_EMPTY;
    }
    well[CLEARED_ROW][FIXED_COLUMN].value = FIXED_VALUE;
    full_rows[0] = CLEARED_ROW;
    full_row_count = 1;
    clear_phase = CLEAR_FLASH;
    flash_count = flash;
    flash_tick = tick;
}

// What the next draw of the generator seeded with seed gives after `skipped` draws.
int Draw_After(uint32_t seed, int skipped) {
    Random_Seed(seed);
    for (int i = 0; i < skipped; ++i) {
        Random_Next();
    }
    return Random_Next();
}

TEST_F(PlayScreenTest, FrameShowsBackgroundWellPreviewAndPiece) {
    well[10][5].value = 3;
    Place_Piece(5, 112, 40, PIECE_FALLING);  // the bar, its cells in box row 2
    piece.next_shape = 6;                    // the square, box rows and columns 1..2
    Fill_Back(0);

    EXPECT_EQ(Draw_Play_Screen(back_buffer), 1);
    ASSERT_NE(back_buffer, nullptr);  // locked again after the text

    EXPECT_TRUE(Block_At(Screen_X(0), Screen_Y(0), Block(CELL_WALL)));
    EXPECT_TRUE(Block_At(Screen_X(17), Screen_Y(24), Block(CELL_WALL)));
    EXPECT_TRUE(Block_At(Screen_X(9), Screen_Y(25), Block(CELL_FLOOR)));
    EXPECT_TRUE(Block_At(Screen_X(5), Screen_Y(10), Block(3)));
    EXPECT_TRUE(Block_At(Screen_X(4), Screen_Y(10), BG));
    EXPECT_EQ(Pixel(0, 0), BG);
    EXPECT_EQ(Pixel(639, 470), BG);

    for (int c = 0; c < 4; ++c) {
        EXPECT_TRUE(Block_At(32 + 112 + 16 * c, 16 + 40 + 32, Block(11))) << c;
    }
    EXPECT_TRUE(Block_At(32 + 112, 16 + 40 + 16, BG));

    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            bool cell = (r == 1 || r == 2) && (c == 1 || c == 2);
            EXPECT_TRUE(Block_At(530 + 16 * c, 304 + 16 * r, cell ? Block(8) : BG)) << r << c;
        }
    }
}

TEST_F(PlayScreenTest, PreviewPlacesEveryShapeByRowAndColumn) {
    for (int shape = 0; shape < SHAPE_TABLE_SIZE; ++shape) {
        Fill_Back(BG);
        piece.next_shape = shape;
        EXPECT_EQ(Draw_Next_Piece(back_buffer, &piece), 1);
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 4; ++c) {
                uint8_t want = shape_table[shape].grid[r][c] ? Block(shape_table[shape].image) : BG;
                EXPECT_TRUE(Block_At(530 + 16 * c, 304 + 16 * r, want))
                    << "shape " << shape << " cell " << r << "," << c;
            }
        }
    }
}

TEST_F(PlayScreenTest, EveryCellValueDrawsItsOwnImage) {
    for (int column = 1; column < 17; ++column) {
        well[5][column].value = column;       // piece cells 1..16
        well[6][column].value = 15 + column;  // fixed cells 16..31
    }
    Draw_Well(back_buffer, 32, 16);
    for (int column = 1; column < 17; ++column) {
        EXPECT_TRUE(Block_At(Screen_X(column), Screen_Y(5), Block(column))) << column;
        EXPECT_TRUE(Block_At(Screen_X(column), Screen_Y(6), Block(15 + column))) << column;
    }
}

TEST_F(PlayScreenTest, FallingPieceHiddenWhileRowsClearButPreviewStays) {
    Place_Piece(5, 112, 64, PIECE_FALLING);
    piece.next_shape = 6;
    for (int phase : {CLEAR_START, CLEAR_FLASH, CLEAR_COLLAPSE}) {
        clear_phase = phase;
        flash_tick = 4;  // past the sparkle frames
        full_row_count = 0;
        Fill_Back(0);
        EXPECT_EQ(Draw_Piece(back_buffer, &piece), 0) << phase;
        Draw_Play_Screen(back_buffer);
        EXPECT_TRUE(Block_At(32 + 112, 16 + 64 + 32, BG)) << phase;
        EXPECT_TRUE(Block_At(530 + 16, 304 + 16, Block(8))) << phase;
    }
}

TEST_F(PlayScreenTest, NoPieceBeforeTheFirstSpawn) {
    Place_Piece(5, 112, 64, PIECE_SPAWN);
    EXPECT_EQ(Draw_Piece(back_buffer, &piece), 0);
    Draw_Play_Screen(back_buffer);
    EXPECT_TRUE(Block_At(32 + 112, 16 + 64 + 32, BG));
}

TEST_F(PlayScreenTest, BlockedPieceDrawnOverTheCellsItOverlaps) {
    for (int row = 1; row <= 3; ++row) {
        for (int column = 7; column <= 10; ++column) {
            well[row][column].value = 2;
        }
    }
    Place_Piece(5, 112, 0, PIECE_BLOCKED);
    Draw_Play_Screen(back_buffer);
    for (int column = 7; column <= 10; ++column) {
        EXPECT_TRUE(Block_At(Screen_X(column), Screen_Y(2), Block(11))) << column;
        EXPECT_TRUE(Block_At(Screen_X(column), Screen_Y(1), Block(2))) << column;
        EXPECT_TRUE(Block_At(Screen_X(column), Screen_Y(3), Block(2))) << column;
    }
}

TEST_F(PlayScreenTest, SparkleDotsColoursAndRandomDrawsPerFlashFrame) {
    constexpr uint32_t SEED = 77;
    const uint8_t colours[6] = {237, 245, 248, 241, 246, 239};
    for (int flash = 0; flash < 3; ++flash) {
        for (int tick = 0; tick < 5; ++tick) {
            Set_Up_Flash(flash, tick);
            Fill_Back(BG);
            Random_Seed(SEED);
            Draw_Well(back_buffer, 32, 16);
            const int next = Random_Next();

            const int dots = tick < 2 ? 64 - 16 * tick * flash : 0;
            EXPECT_EQ(next, Draw_After(SEED, SPARKLED_CELLS * dots * 3))
                << "flash " << flash << " tick " << tick;

            // The same dots again, drawn a, b, k in turn, cell by cell from the left.
            std::vector<uint8_t> want(640 * 16, BG);
            Random_Seed(SEED);
            for (int column = 0; column < WELL_COLUMNS; ++column) {
                bool fixed = column == 0 || column == 17 || column == FIXED_COLUMN;
                for (int y = 0; y < 16 && fixed; ++y) {
                    std::memset(&want[y * 640 + Screen_X(column)],
                                Block(well[CLEARED_ROW][column].value), 16);
                }
                for (int i = 0; i < dots && !fixed; ++i) {
                    int a = Random_Next();
                    int b = Random_Next();
                    int k = Random_Next();
                    want[(b % 16) * 640 + Screen_X(column) + a % 16] = colours[2 * flash + k % 2];
                }
            }
            int differing = 0;
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 640; ++x) {
                    differing += Pixel(x, Screen_Y(CLEARED_ROW) + y) != want[y * 640 + x];
                }
            }
            EXPECT_EQ(differing, 0) << "flash " << flash << " tick " << tick;
        }
    }
}

TEST_F(PlayScreenTest, FixedCellsNeverSparkle) {
    Set_Up_Flash(0, 0);
    Fill_Back(BG);
    Draw_Well(back_buffer, 32, 16);
    EXPECT_TRUE(Block_At(Screen_X(0), Screen_Y(CLEARED_ROW), Block(CELL_WALL)));
    EXPECT_TRUE(Block_At(Screen_X(FIXED_COLUMN), Screen_Y(CLEARED_ROW), Block(FIXED_VALUE)));
    EXPECT_TRUE(Block_At(Screen_X(17), Screen_Y(CLEARED_ROW), Block(CELL_WALL)));
    // Rows not listed stay plain.
    EXPECT_TRUE(Block_At(Screen_X(5), Screen_Y(CLEARED_ROW - 1), BG));
}

TEST_F(PlayScreenTest, FirstFrameOfAClearShowsTheFullRowAsItIs) {
    for (int column = 1; column < 17; ++column) {
        well[CLEARED_ROW][column].value = 3;
    }
    full_rows[0] = CLEARED_ROW;
    full_row_count = 1;
    clear_phase = CLEAR_START;
    Random_Seed(9);
    Draw_Well(back_buffer, 32, 16);
    const int next = Random_Next();
    EXPECT_EQ(next, Draw_After(9, 0));
    for (int column = 1; column < 17; ++column) {
        EXPECT_TRUE(Block_At(Screen_X(column), Screen_Y(CLEARED_ROW), Block(3))) << column;
    }
}

TEST_F(PlayScreenTest, RefusedLockDrawsNothingButKeepsTheRandomSequence) {
    DD_Unlock_Back_Surface();
    platform::headless::fail(platform::backend::Step::SurfaceLock);
    DD_Lock_Back_Surface();
    ASSERT_EQ(back_buffer, nullptr);
    Set_Up_Flash(1, 1);
    Place_Piece(5, 112, 64, PIECE_FALLING);
    clear_phase = CLEAR_FLASH;

    Random_Seed(3);
    EXPECT_EQ(Draw_Play_Screen(back_buffer), 1);
    const int next = Random_Next();
    EXPECT_EQ(next, Draw_After(3, SPARKLED_CELLS * 48 * 3));

    const uint8_t* back = platform::headless::back_pixels();
    ASSERT_NE(back, nullptr);
    for (int y = 16; y < 432; ++y) {
        for (int x = 32; x < 320; ++x) {
            ASSERT_EQ(back[y * 640 + x], 0) << x << "," << y;
        }
    }
    platform::headless::clear_faults();
}

}  // namespace
