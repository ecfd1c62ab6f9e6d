// One play update: turning, shifting, falling, landing, locking and spawning.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/game_state.h"
#include "game/falling_piece.h"
#include "game/well.h"
#include "input/input_device.h"
#include "sound/sound.h"
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
void Hold(int dx, int dy, uint32_t buttons = 0) {
    input_state.dx = dx;
    input_state.dy = dy;
    input_state.buttons = buttons;
}

// The square resting on a fixed cell under column 9 after one update.
void Land_Square() {
    well[20][9].value = 17;
    Place_Piece(6, 112, 268, PIECE_FALLING);
    piece.speed = 6;
    Hold(0, 0);
    Update_Play(&piece);
}

class UpdatePlay : public RulesTest {
  protected:
    void SetUp() override {
        RulesTest::SetUp();
        Start(6, 112, 0);
    }
};

TEST_F(UpdatePlay, TurnsComeEveryThirdUpdateClockwiseFirstAndARefusedTurnCounts) {
    Start(11, 112, 0);
    const char* turns[] = {"###./#.../#.../....", ".###/...#/...#/....", "..../...#/...#/.###",
                           "..../#.../#.../###."};
    for (int turn : {1, 1, 1, 2, 2, 2, 3}) {
        Hold(0, -2, INPUT_BUTTON_1 | INPUT_BUTTON_2);
        Update_Play(&piece);
        EXPECT_EQ(Grid_Text(piece.body), turns[turn]);
    }
    for (uint32_t buttons : {0u, 0u, INPUT_BUTTON_1}) {
        Hold(0, -2, buttons);
        Update_Play(&piece);
    }
    EXPECT_EQ(Grid_Text(piece.body), turns[2]);

    Start(5, 16, 0);        // the bar lying over columns 1..4
    well[3][2].value = 17;  // in the way of standing it up, for the first update only
    const std::string lying = Grid_Text(piece.body);
    for (int update = 0; update < 4; update++) {
        Hold(0, -2, INPUT_BUTTON_2);
        Update_Play(&piece);
        well[3][2].value = 0;
        EXPECT_EQ(Grid_Text(piece.body) == lying, update < 3) << update;
    }
}

TEST_F(UpdatePlay, HoldingASideStepsAtOnceThenEverySecondUpdate) {
    Ints xs;
    for (int dx : {2, 2, 2, 2, 2, 0, 0, -1}) {  // one column per step, whatever the size of dx
        Hold(dx, -2);
        Update_Play(&piece);
        xs.push_back(piece.x);
    }
    // Once a decision has seen dx 0, the next press steps at once.
    EXPECT_EQ(xs, (Ints{128, 128, 144, 144, 160, 160, 160, 144}));
}

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

TEST_F(UpdatePlay, FallStepFollowsSpeedAndTheVerticalInput) {
    struct Case {
        int speed, dy, step;
    };
    for (Case c : {Case{2, -2, 0}, Case{2, -1, 1}, Case{2, 0, 2}, Case{2, 2, 8}, Case{8, 1, 12},
                   Case{12, 0, 12}, Case{12, 2, 12}, Case{12, -1, 11}}) {
        Place_Piece(6, 112, 32, PIECE_FALLING);
        piece.speed = c.speed;
        Hold(0, c.dy);
        Update_Play(&piece);
        EXPECT_EQ(piece.y, 32 + c.step) << "speed " << c.speed << " dy " << c.dy;
    }
    // Falling exactly onto a row boundary above a cell is not yet landing; one pixel more is.
    well[5][8].value = 17;
    Place_Piece(6, 112, 30, PIECE_FALLING);
    piece.speed = 2;
    Hold(0, 0);
    Update_Play(&piece);
    EXPECT_EQ(piece.state, PIECE_FALLING);
    Update_Play(&piece);
    EXPECT_EQ(piece.state, PIECE_LANDED);
    EXPECT_EQ(piece.y, 32);
}

TEST_F(UpdatePlay, ALandedPieceFallsAgainIfShiftedOffElseLocksAndTheNextUpdateSpawns) {
    Land_Square();
    EXPECT_EQ(Piece_Fields(), (Ints{PIECE_LANDED, 112, 272, 6, 2, 6, 0}));  // delay 3, less one
    EXPECT_EQ(Sound_Plays(sound_lock), 1);
    Hold(-1, 0);
    Update_Play(&piece);  // onto columns 7..8, nothing below
    EXPECT_EQ(piece.state, PIECE_LANDED);
    Update_Play(&piece);  // the re-test
    EXPECT_EQ(piece.state, PIECE_FALLING);
    EXPECT_EQ(piece.y, 272);
    Update_Play(&piece);
    EXPECT_EQ(piece.y, 278);
    EXPECT_EQ(Sound_Plays(sound_lock), 1);

    Start(6, 112, 0);
    piece.next_shape = 11;
    Land_Square();
    Update_Play(&piece);
    EXPECT_EQ(piece.state, PIECE_LANDED);
    Update_Play(&piece);
    EXPECT_EQ(piece.state, PIECE_SPAWN);
    EXPECT_EQ(Well_Row(18).substr(8, 2) + Well_Row(19).substr(8, 2), "hhhh");  // image 8
    Hold(0, 0, INPUT_BUTTON_2);
    Update_Play(&piece);
    EXPECT_EQ(Piece_Fields(), (Ints{PIECE_FALLING, 112, 6, 6, 0, 11, piece.next_shape}));
    EXPECT_EQ(Grid_Text(piece.body), ".###/...#/...#/....");  // turned in its first update
}

TEST_F(UpdatePlay, ABlockedSpawnEndsTheGameOnce) {
    Set_Well_Rows(1, {"1......aaaa", "1......aaaa"});
    piece.state = PIECE_SPAWN;
    Hold(1, 2, INPUT_BUTTON_2);
    Update_Play(&piece);
    EXPECT_EQ(piece.state, PIECE_BLOCKED);
    EXPECT_EQ(game_state, FLOW_GAME_ENDING);
    Piece blocked = piece;
    for (int update = 0; update < 5; update++) {
        Update_Play(&piece);
    }
    EXPECT_EQ(0, std::memcmp(&blocked, &piece, sizeof piece));
    EXPECT_EQ(Sound_Plays(sound_loser), 1);
    EXPECT_EQ(Sound_Plays(sound_lock), 0);
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
        EXPECT_EQ(Piece_Fields(), (Ints{PIECE_LANDED, 96, 144, c.speed, 2, 5, 0})) << c.what;
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
