#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "game/piece.h"
#include "game/well.h"
#include "support/game_rules.h"

namespace {

// The body's grid as rows of '#' and '.' joined by '/'.
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
    // The square covers box rows and columns 1..2; at y = 8 its cells' top pixels lie in rows
    // 1 and 2 and their bottom pixels in rows 2 and 3.
    Place_Piece(6, 112, 8, PIECE_FALLING);
    well[1][8].value = 1;
    EXPECT_EQ(Piece_Collides(&piece), 0);
    for (int value : {1, 16, 31}) {
        well[3][9].value = value;
        EXPECT_EQ(Piece_Collides(&piece), 1) << value;
    }
}

TEST_F(PieceCellTests, CellsOutsideTheGridAreOccupied) {
    for (auto& row : well) {
        for (Cell& cell : row) {
            cell.value = 0;
        }
    }
    struct Case {
        int x, y, collides;
    };
    // Hanging over an edge is fine while only empty box columns and rows lie outside.
    for (Case c : {Case{-16, 0, 0}, Case{-32, 0, 1}, Case{16 * 15, 0, 0}, Case{16 * 16, 0, 1},
                   Case{112, 16 * 23, 0}, Case{112, 16 * 23 + 1, 1}}) {
        Place_Piece(6, c.x, c.y, PIECE_FALLING);
        EXPECT_EQ(Piece_Collides(&piece), c.collides) << c.x << "," << c.y;
    }
}

TEST_F(PieceCellTests, RotationTurnsTheWholeBoxBothWays) {
    Place_Piece(11, 112, 0, PIECE_FALLING);
    ASSERT_EQ(Grid_Text(piece), "###./#.../#.../....");
    EXPECT_EQ(Rotate_Piece(&piece, ROTATE_CLOCKWISE), 1);
    EXPECT_EQ(Grid_Text(piece), ".###/...#/...#/....");
    Rotate_Piece(&piece, ROTATE_COUNTER_CLOCKWISE);
    Rotate_Piece(&piece, ROTATE_COUNTER_CLOCKWISE);
    EXPECT_EQ(Grid_Text(piece), "..../#.../#.../###.");
    EXPECT_EQ(piece.x, 112);

    // The bar stands up in box column 1 turning clockwise, in column 2 the other way.
    Place_Piece(5, 112, 0, PIECE_FALLING);
    Rotate_Piece(&piece, ROTATE_CLOCKWISE);
    EXPECT_EQ(Grid_Text(piece), ".#../.#../.#../.#..");
    Place_Piece(5, 112, 0, PIECE_FALLING);
    Rotate_Piece(&piece, ROTATE_COUNTER_CLOCKWISE);
    EXPECT_EQ(Grid_Text(piece), "..#./..#./..#./..#.");
}

TEST_F(PieceCellTests, ATurnThatDoesNotFitIsRefusedWithoutANudge) {
    Place_Piece(5, 16, 0, PIECE_FALLING);  // the bar lying over well columns 1..4
    well[3][2].value = 1;                  // where the clockwise turn would stand it
    Piece before = piece;
    EXPECT_EQ(Rotate_Piece(&piece, ROTATE_CLOCKWISE), 0);
    EXPECT_EQ(0, std::memcmp(&before, &piece, sizeof piece));
    EXPECT_EQ(Rotate_Piece(&piece, ROTATE_COUNTER_CLOCKWISE), 1);  // column 3 is free

    // Standing in column 1 against the wall, lying down either way would reach into it.
    piece.x = -16;
    ASSERT_EQ(Piece_Collides(&piece), 0);
    before = piece;
    EXPECT_EQ(Rotate_Piece(&piece, ROTATE_CLOCKWISE), 0);
    EXPECT_EQ(Rotate_Piece(&piece, ROTATE_COUNTER_CLOCKWISE), 0);
    EXPECT_EQ(0, std::memcmp(&before, &piece, sizeof piece));

    // Between rows (y = 8) the standing bar's bottom pixels lie in rows 1..4, not row 0.
    Place_Piece(5, 112, 8, PIECE_FALLING);
    well[0][8].value = 1;
    EXPECT_EQ(Rotate_Piece(&piece, ROTATE_CLOCKWISE), 1);
    Place_Piece(5, 112, 8, PIECE_FALLING);
    well[4][8].value = 1;
    EXPECT_EQ(Rotate_Piece(&piece, ROTATE_CLOCKWISE), 0);
}

}  // namespace
