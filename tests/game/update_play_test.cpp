// One play update where a shift meets fixed blocks: what the shift looks at, and a lock that
// must neither overwrite a block nor write outside the grid. Pacing, turns, falls and spawns
// are pinned by the recorded sessions.
#include <gtest/gtest.h>

#include <cstring>

#include "game/falling_piece.h"
#include "game/well.h"
#include "input/input_device.h"
#include "support/game_rules.h"

namespace {

// Fresh rules, an empty walled well, and the piece falling at speed 2.
void Start(int shape, int x, int y) {
    Reset_Game_Rules();
    Empty_Well();
    Place_Piece(shape, x, y, PIECE_FALLING);
    piece.speed = 2;
}

// Up held (dy -2) at speed 2 makes the piece hang where it is.
void Hold(int dx, int dy) {
    input_state.dx = dx;
    input_state.dy = dy;
    input_state.buttons = 0;
}

class UpdatePlay : public RulesTest {
  protected:
    void SetUp() override {
        RulesTest::SetUp();
        Start(6, 112, 0);
    }
};

TEST_F(UpdatePlay, AShiftProbesTheOutermostCellsAtTheirTopPixelRow) {
    struct Case {
        int shape, y, row, column, dx, x_after;
    };
    const Case cases[] = {
        // Shape 14 (###. over #.#.) with a cell in its lower row's gap: never looked at.
        {14, 0, 2, 8, 1, 128},
        {14, 0, 2, 8, -1, 96},
        {14, 0, 2, 10, 1, 112},  // the outermost cell itself is stopped
        // The square between rows (y = 8): its lower cells' top pixels are in row 2.
        {6, 8, 2, 10, 1, 112},
        {6, 8, 3, 10, 1, 128},
    };
    for (const Case& c : cases) {
        Start(c.shape, 112, c.y);
        well[c.row][c.column].value = 17;
        Hold(c.dx, -2);
        Update_Play(&piece);
        EXPECT_EQ(piece.x, c.x_after) << c.shape << " y " << c.y << " dx " << c.dx;
    }
    // The step into the row below was taken; the fall test of that update then lands it.
    EXPECT_EQ(piece.state, PIECE_LANDED);
    EXPECT_EQ(piece.y, 0);
}

TEST_F(UpdatePlay, ALockNeverWritesOutsideTheGrid) {
    Reset_Game_Rules();
    // The ring over the left edge and the bottom: only column 0 of rows 24 and 25 is inside.
    // A write to column -1 or row 26 would land in a neighbouring cell.
    well[24][0].value = well[25][0].value = 0;
    WellGrid want = well;
    want[24][0].value = want[25][0].value = shape_table[15].image;
    Place_Piece(15, -32, 16 * 24, PIECE_LOCK);
    Update_Play(&piece);
    EXPECT_EQ(0, std::memcmp(&want, &well, sizeof well));
}

// A shift may put a piece's lower part over a block's edge; whatever follows, the block stays
// and the piece ends on top of it.
TEST_F(UpdatePlay, APieceShiftedOntoABlockLandsOnItAndNeverOverwritesIt) {
    struct Case {
        int speed, y, dy;
        const char* what;
    };
    // The bar over columns 7..10 shifted left onto a block in column 6 whose top row lies
    // across the bar's bottom edge.
    for (Case c : {Case{2, 152, 1, "down held at speed 2: the step would end inside the block"},
                   Case{8, 152, 1, "speed 8, down held: the step would pass through it"},
                   Case{8, 156, 0, "speed 8: the step would pass through it"}}) {
        Start(5, 112, c.y);
        piece.speed = c.speed;
        Set_Well_Rows(12, {"1.....5", "1.....5"});
        Hold(-1, c.dy);
        Update_Play(&piece);
        EXPECT_EQ((Ints{piece.state, piece.x, piece.y, piece.lock_delay}),
                  (Ints{PIECE_LANDED, 96, 144, 2}))
            << c.what;
        Hold(0, 0);
        while (piece.state != PIECE_SPAWN) {
            Update_Play(&piece);
        }
        EXPECT_EQ(Well_Row(11), "1.....kkkk.......1") << c.what;
        EXPECT_EQ(Well_Row(12), "1.....5..........1") << c.what;
    }

    // A block in the gap of the "#.#" row: the shift probes only the row's outer cell, so the
    // left cell steps onto the block. The lock lifts the piece a row rather than write over it.
    Start(14, 112, 16 * 22);
    Set_Well_Rows(24, {"1.......5"});
    piece.state = PIECE_LANDED;
    piece.lock_delay = 3;
    Hold(1, 0);
    Update_Play(&piece);
    EXPECT_EQ(piece.x, 128);
    Hold(0, 0);
    Update_Play(&piece);
    Update_Play(&piece);
    EXPECT_EQ(piece.state, PIECE_SPAWN);
    EXPECT_EQ(piece.y, 16 * 21);
    EXPECT_EQ(Well_Row(22), "1.......kkk......1");
    EXPECT_EQ(Well_Row(23), "1.......k.k......1");
    EXPECT_EQ(Well_Row(24), "1.......5........1");
}

}  // namespace
