#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "game/piece.h"
#include "game/well.h"
#include "support/game_rules.h"

namespace {

// The body's grid as four strings of '#' and '.'.
std::string Grid_Text(const Piece& p) {
    std::string text;
    for (int r = 0; r < SHAPE_SIZE; r++) {
        for (int c = 0; c < SHAPE_SIZE; c++) {
            text += p.body.grid[r][c] ? '#' : '.';
        }
        text += r < SHAPE_SIZE - 1 ? "/" : "";
    }
    return text;
}

class PieceCellTests : public ::testing::Test {
  protected:
    void SetUp() override { Reset_Game_Rules(); }
};

TEST_F(PieceCellTests, OverlapLooksAtTheRowOfEachCellsBottomPixel) {
    // The square (shape 6) covers box rows 1..2, columns 1..2: well columns 8..9 at x = 112.
    Place_Piece(6, 112, 8, PIECE_FALLING);
    // y = 8: its cells' top pixels lie in rows 1 and 2, their bottom pixels in rows 2 and 3.
    well[1][8].value = 1;
    EXPECT_EQ(Piece_Collides(&piece), 0);
    well[3][9].value = 1;
    EXPECT_EQ(Piece_Collides(&piece), 1);
    well[3][9].value = 0;
    well[2][8].value = 1;
    EXPECT_EQ(Piece_Collides(&piece), 1);
}

TEST_F(PieceCellTests, FixedValuesAndCellsOutsideTheGridAreOccupied) {
    Place_Piece(6, 112, 0, PIECE_FALLING);
    for (int value : {16, 17, 31}) {
        well[2][9].value = value;
        EXPECT_EQ(Piece_Collides(&piece), 1) << value;
    }
    well[2][9].value = 0;
    // Hanging over the edge is fine while only empty box columns lie outside.
    Empty_Well();
    for (int row = 0; row < WELL_ROWS; row++) {
        well[row][0].value = 0;
        well[row][WELL_COLUMNS - 1].value = 0;
    }
    Place_Piece(6, -16, 0, PIECE_FALLING);  // cells in columns 0 and 1
    EXPECT_EQ(Piece_Collides(&piece), 0);
    Place_Piece(6, -32, 0, PIECE_FALLING);  // a cell in column -1
    EXPECT_EQ(Piece_Collides(&piece), 1);
    Place_Piece(6, 16 * 16, 0, PIECE_FALLING);  // a cell in column 18
    EXPECT_EQ(Piece_Collides(&piece), 1);
    Fill_Row(WELL_ROWS - 1, 0);
    Place_Piece(6, 112, 16 * 23, PIECE_FALLING);  // bottom cells in row 25
    EXPECT_EQ(Piece_Collides(&piece), 0);
    Place_Piece(6, 112, 16 * 23 + 1, PIECE_FALLING);  // bottom pixel in row 26
    EXPECT_EQ(Piece_Collides(&piece), 1);
}

TEST_F(PieceCellTests, RotationTurnsTheWholeBoxBothWays) {
    Place_Piece(11, 112, 0, PIECE_FALLING);  // the corner: ###. / #... / #...
    ASSERT_EQ(Grid_Text(piece), "###./#.../#.../....");
    EXPECT_EQ(Rotate_Piece(&piece, ROTATE_CLOCKWISE), 1);
    EXPECT_EQ(Grid_Text(piece), ".###/...#/...#/....");
    EXPECT_EQ(Rotate_Piece(&piece, ROTATE_COUNTER_CLOCKWISE), 1);
    EXPECT_EQ(Grid_Text(piece), "###./#.../#.../....");
    EXPECT_EQ(Rotate_Piece(&piece, ROTATE_COUNTER_CLOCKWISE), 1);
    EXPECT_EQ(Grid_Text(piece), "..../#.../#.../###.");
    EXPECT_EQ(piece.x, 112);
    EXPECT_EQ(piece.y, 0);

    // The bar (shape 5) stands up in box column 1 turning clockwise, column 2 the other way.
    Place_Piece(5, 112, 0, PIECE_FALLING);
    Rotate_Piece(&piece, ROTATE_CLOCKWISE);
    EXPECT_EQ(Grid_Text(piece), ".#../.#../.#../.#..");
    Place_Piece(5, 112, 0, PIECE_FALLING);
    Rotate_Piece(&piece, ROTATE_COUNTER_CLOCKWISE);
    EXPECT_EQ(Grid_Text(piece), "..#./..#./..#./..#.");
    EXPECT_EQ(piece.body.image, shape_table[5].image);
}

TEST_F(PieceCellTests, ATurnThatDoesNotFitIsRefusedWithoutANudge) {
    // The bar lies in box row 2 over well columns 1..4, beside the left wall.
    Place_Piece(5, 16, 0, PIECE_FALLING);
    well[3][2].value = 1;  // where the clockwise turn would stand it (box column 1)
    Piece before = piece;
    EXPECT_EQ(Rotate_Piece(&piece, ROTATE_CLOCKWISE), 0);
    EXPECT_EQ(0, memcmp(&before, &piece, sizeof piece));
    // Counter-clockwise stands it in box column 2, well column 3, which is free.
    EXPECT_EQ(Rotate_Piece(&piece, ROTATE_COUNTER_CLOCKWISE), 1);
    EXPECT_EQ(piece.x, 16);

    // Standing in well column 1 against the wall, lying down either way would reach into it.
    piece.x = -16;
    ASSERT_EQ(Piece_Collides(&piece), 0);
    before = piece;
    EXPECT_EQ(Rotate_Piece(&piece, ROTATE_CLOCKWISE), 0);
    EXPECT_EQ(Rotate_Piece(&piece, ROTATE_COUNTER_CLOCKWISE), 0);
    EXPECT_EQ(0, memcmp(&before, &piece, sizeof piece));
}

TEST_F(PieceCellTests, RotationProbesTheBottomPixelRowToo) {
    // Between rows (y = 8), the standing bar's cells have bottom pixels in rows 1..4.
    Place_Piece(5, 112, 8, PIECE_FALLING);
    well[0][8].value = 1;  // row 0 holds only the top pixel of the top cell: not looked at
    EXPECT_EQ(Rotate_Piece(&piece, ROTATE_CLOCKWISE), 1);
    Place_Piece(5, 112, 8, PIECE_FALLING);
    well[4][8].value = 1;
    EXPECT_EQ(Rotate_Piece(&piece, ROTATE_CLOCKWISE), 0);
}

}  // namespace
