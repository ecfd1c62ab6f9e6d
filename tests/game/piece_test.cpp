// The cell probes, rotation, and the landing's lock sounds. The order shapes are dealt in is
// pinned by the recorded sessions.
#include <gtest/gtest.h>

#include <cstring>

#include "game/falling_piece.h"
#include "game/piece.h"
#include "game/well.h"
#include "platform/headless/control.h"
#include "sound/sound.h"
#include "support/game_rules.h"

namespace {

using PieceTest = RulesTest;

// The body's grid as rows of '#' and '.' joined by '/'.
std::string Grid_Text(const Shape& shape) {
    std::string text;
    for (int r = 0; r < SHAPE_SIZE; r++) {
        for (int c = 0; c < SHAPE_SIZE; c++) {
            text += shape.grid[r][c] ? '#' : '.';
        }
        text += r < SHAPE_SIZE - 1 ? "/" : "";
    }
    return text;
}

TEST_F(PieceTest, CellsProbeTheRowOfTheirBottomPixelAndOutsideTheGridIsOccupied) {
    struct Case {
        int x, y, row, column, value, collides;
    };
    // The square fills box rows and columns 1..2; at y = 8 its bottom pixels lie in rows 2 and
    // 3. Hanging over an edge is fine while only empty box rows and columns lie outside.
    const Case cases[] = {{112, 8, 1, 8, 1, 0}, {112, 8, 3, 9, 1, 1},   {112, 8, 3, 9, 31, 1},
                          {-16, 0, 0, 0, 0, 0}, {-32, 0, 0, 0, 0, 1},   {240, 0, 0, 0, 0, 0},
                          {256, 0, 0, 0, 0, 1}, {112, 368, 0, 0, 0, 0}, {112, 369, 0, 0, 0, 1}};
    for (const Case& c : cases) {
        Fill_Well(0);
        well[c.row][c.column].value = c.value;
        Place_Piece(6, c.x, c.y, PIECE_FALLING);
        EXPECT_EQ(Piece_Collides(&piece), c.collides) << c.x << "," << c.y << " " << c.value;
    }
}

TEST_F(PieceTest, RotationTurnsTheWholeBoxBothWaysOrIsRefusedWithoutANudge) {
    struct Case {
        int shape, direction;
        const char* turned;
    };
    // The bar stands in box column 1 turning clockwise, in column 2 the other way.
    const Case cases[] = {{11, ROTATE_CLOCKWISE, ".###/...#/...#/...."},
                          {11, ROTATE_COUNTER_CLOCKWISE, "..../#.../#.../###."},
                          {5, ROTATE_CLOCKWISE, ".#../.#../.#../.#.."},
                          {5, ROTATE_COUNTER_CLOCKWISE, "..#./..#./..#./..#."}};
    for (const Case& c : cases) {
        Place_Piece(c.shape, 112, 0, PIECE_FALLING);
        EXPECT_EQ(Rotate_Piece(&piece, c.direction), 1);
        EXPECT_EQ(Grid_Text(piece.body), c.turned);
        EXPECT_EQ(piece.x, 112);
    }
    Place_Piece(5, 16, 0, PIECE_FALLING);  // the bar lying over well columns 1..4
    well[3][2].value = 1;                  // where the clockwise turn would stand it
    Piece before = piece;
    EXPECT_EQ(Rotate_Piece(&piece, ROTATE_CLOCKWISE), 0);
    EXPECT_EQ(0, std::memcmp(&before, &piece, sizeof piece));
    EXPECT_EQ(Rotate_Piece(&piece, ROTATE_COUNTER_CLOCKWISE), 1);  // column 3 is free
    // Between rows (y = 8) the standing bar's bottom pixels lie in rows 1..4, not row 0.
    for (int row : {0, 4}) {
        Place_Piece(5, 112, 8, PIECE_FALLING);
        Empty_Well();
        well[row][8].value = 1;
        EXPECT_EQ(Rotate_Piece(&piece, ROTATE_CLOCKWISE), row == 0) << row;
    }
}

// The flat bar at y = 160 over well columns 7..10. Falling onto row 13, column 7 finds it and
// lowers y to 160, and the other columns probe from there. Left overlapping cells of its own row
// 12 (as a shift onto a block's edge can leave it), it lands before the step. Every column that
// finds support plays the lock sound again.
TEST_F(PieceTest, ALandingPlaysTheLockSoundForEveryColumnThatFindsSupport) {
    struct Case {
        const char* row12;
        const char* row13;
        int plays;
    };
    const Case cases[] = {{"1................1", "1......bbbb......1", 1},
                          {"1........bb......1", "1......b.........1", 2},
                          {"1......bbbb......1", "1................1", 4},
                          {"1................1", "1................1", 0}};
    for (const Case& c : cases) {
        Empty_Well();
        Set_Well_Rows(12, {c.row12, c.row13});
        piece = Piece{};
        piece.speed = 2;
        Place_Piece(5, 112, 160, PIECE_FALLING);
        platform::headless::clear_sound_events();
        Update_Play(&piece);
        EXPECT_EQ(Sound_Plays(sound_lock), c.plays) << c.row12;
        EXPECT_EQ(
            (Ints{piece.state, piece.y, piece.lock_delay}),
            (c.plays > 0 ? Ints{PIECE_LANDED, 160, LOCK_DELAY - 1} : Ints{PIECE_FALLING, 162, 0}))
            << c.row12;
    }
}

// Shape 11 hangs from box row 0 in its middle columns: held there on a cell of row 11, it locks
// after the delay although its long column stands on nothing.
TEST_F(PieceTest, AfterTheDelayAColumnWhoseOnlyCellIsInTheTopRowHoldsThePiece) {
    for (bool held : {true, false}) {
        Empty_Well();
        well[11][8].value = held ? 17 : 0;
        piece = Piece{};
        Place_Piece(11, 112, 160, PIECE_LANDED);
        piece.lock_delay = 1;
        Update_Play(&piece);
        EXPECT_EQ(piece.state, held ? PIECE_SPAWN : PIECE_FALLING) << held;
    }
}

}  // namespace
