#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "game/falling_piece.h"
#include "game/line_clear.h"
#include "game/well.h"
#include "input/input_device.h"
#include "sound/sound.h"
#include "support/game_rules.h"

namespace {

class UpdatePlay : public ::testing::Test {
  protected:
    void SetUp() override {
        Reset_Game_Rules();
        dir = Make_Scratch_Directory();
        ASSERT_TRUE(Load_Test_Sounds(dir));
        Empty_Well();
        piece.speed = 2;
    }
    void TearDown() override {
        Release_Test_Sounds();
        Remove_Scratch_Directory(dir);
    }

    static void Hold(int dx, int dy, uint32_t buttons = 0) {
        input_state.dx = dx;
        input_state.dy = dy;
        input_state.buttons = buttons;
    }
    // Speed 2 with up held on keyboard and stick: the piece hangs where it is.
    static void Hang(int dx = 0, uint32_t buttons = 0) { Hold(dx, -2, buttons); }

    std::string dir;
};

bool Same_Grid(const Shape& a, const Shape& b) {
    return std::memcmp(a.grid, b.grid, sizeof a.grid) == 0;
}

// The shape given a quarter turn in an empty well.
Shape Turned(const Shape& shape, int direction) {
    WellGrid kept = well;
    Empty_Well();
    Piece copy{};
    copy.body = shape;
    copy.x = 112;
    Rotate_Piece(&copy, direction);
    well = kept;
    return copy.body;
}

// --- rotation -----------------------------------------------------------------------------

TEST_F(UpdatePlay, HeldButtonsTurnEveryThirdUpdateAndClockwiseWins) {
    Place_Piece(11, 112, 0, PIECE_FALLING);
    Shape once = Turned(shape_table[11], ROTATE_CLOCKWISE);
    Shape twice = Turned(once, ROTATE_CLOCKWISE);
    Shape thrice = Turned(twice, ROTATE_CLOCKWISE);
    std::vector<const Shape*> expected = {&once, &once, &once, &twice, &twice, &twice, &thrice};
    for (size_t update = 0; update < expected.size(); update++) {
        Hang(0, INPUT_BUTTON_1 | INPUT_BUTTON_2);
        Update_Play(&piece);
        EXPECT_TRUE(Same_Grid(piece.body, *expected[update])) << "update " << update + 1;
    }
    EXPECT_EQ(piece.y, 0);

    // Counter-clockwise alone, from a released state.
    Hang();
    Update_Play(&piece);
    Update_Play(&piece);
    ASSERT_EQ(rotate_delay, 0);
    Hang(0, INPUT_BUTTON_1);
    Update_Play(&piece);
    EXPECT_TRUE(Same_Grid(piece.body, twice));
}

TEST_F(UpdatePlay, ARefusedTurnStillMakesTheNextTwoUpdatesIgnoreTheButtons) {
    Place_Piece(5, 16, 0, PIECE_FALLING);  // lying bar, columns 1..4
    well[3][2].value = 17;                 // blocks standing it up in column 2
    Shape lying = piece.body;
    Hang(0, INPUT_BUTTON_2);
    Update_Play(&piece);
    EXPECT_TRUE(Same_Grid(piece.body, lying));
    EXPECT_EQ(rotate_delay, 2);
    well[3][2].value = 0;
    Update_Play(&piece);
    Update_Play(&piece);
    EXPECT_TRUE(Same_Grid(piece.body, lying));
    Update_Play(&piece);
    EXPECT_FALSE(Same_Grid(piece.body, lying));
}

// --- horizontal shift ---------------------------------------------------------------------

TEST_F(UpdatePlay, HoldingASideStepsAtOnceThenEverySecondUpdate) {
    Place_Piece(6, 112, 0, PIECE_FALLING);
    std::vector<int> xs;
    for (int update = 0; update < 5; update++) {
        Hang(2);  // a step is one column whatever the size of dx
        Update_Play(&piece);
        xs.push_back(piece.x);
    }
    EXPECT_EQ(xs, (std::vector<int>{128, 128, 144, 144, 160}));

    // Let go: once a decision has seen dx 0, the next press steps at once.
    Hang(0);
    Update_Play(&piece);
    Update_Play(&piece);
    EXPECT_EQ(last_dx, 0);
    Hang(-1);
    Update_Play(&piece);
    EXPECT_EQ(piece.x, 144);
}

TEST_F(UpdatePlay, OnlyTheOutermostCellOfEachRowIsProbed) {
    // Shape 14: ###. over #.#.; a cell sitting in the gap of its lower row.
    Place_Piece(14, 112, 0, PIECE_FALLING);  // columns 7..9, rows 1..2
    well[2][8].value = 17;
    Hang(1);
    Update_Play(&piece);
    EXPECT_EQ(piece.x, 128);  // the left cell now lies on it: the gap never looked
    Reset_Game_Rules();
    Empty_Well();
    piece.speed = 2;
    Place_Piece(14, 112, 0, PIECE_FALLING);
    well[2][8].value = 17;
    Hang(-1);
    Update_Play(&piece);
    EXPECT_EQ(piece.x, 96);

    // The outermost cell itself is stopped.
    Reset_Game_Rules();
    Empty_Well();
    piece.speed = 2;
    Place_Piece(14, 112, 0, PIECE_FALLING);
    well[2][10].value = 17;
    Hang(1);
    Update_Play(&piece);
    EXPECT_EQ(piece.x, 112);
}

TEST_F(UpdatePlay, BetweenRowsTheShiftSeesOnlyTheRowOfTheTopPixel) {
    // The square at y = 8: its lower cells' top pixels are in row 2, bottom pixels in row 3.
    Place_Piece(6, 112, 8, PIECE_FALLING);
    well[2][10].value = 17;
    Hang(1);
    Update_Play(&piece);
    EXPECT_EQ(piece.x, 112);

    Reset_Game_Rules();
    Empty_Well();
    piece.speed = 2;
    Place_Piece(6, 112, 8, PIECE_FALLING);
    well[3][10].value = 17;
    Hang(1);
    Update_Play(&piece);
    // The step is taken; the fall test of the same update then finds the cell and lands it.
    EXPECT_EQ(piece.x, 128);
    EXPECT_EQ(piece.y, 0);
    EXPECT_EQ(piece.state, PIECE_LANDED);
}

// --- fall ---------------------------------------------------------------------------------

TEST_F(UpdatePlay, FallStepFollowsSpeedAndTheVerticalInput) {
    struct Case {
        int speed, dy, step;
    };
    const Case cases[] = {{2, -2, 0}, {2, -1, 1},  {2, 0, 2},   {2, 1, 8},   {2, 2, 8},
                          {8, 1, 12}, {12, 0, 12}, {12, 2, 12}, {12, -1, 11}};
    for (const Case& c : cases) {
        Place_Piece(6, 112, 32, PIECE_FALLING);
        piece.speed = c.speed;
        Hold(0, c.dy);
        Update_Play(&piece);
        EXPECT_EQ(piece.y, 32 + c.step) << "speed " << c.speed << " dy " << c.dy;
        EXPECT_EQ(piece.state, PIECE_FALLING);
    }
}

TEST_F(UpdatePlay, LandingSnapsToTheRowAndPlaysTheLockSoundOnce) {
    well[20][9].value = 17;
    Place_Piece(6, 112, 268, PIECE_FALLING);  // square over columns 8..9
    piece.speed = 6;
    Hold(0, 0);
    Update_Play(&piece);
    EXPECT_EQ(piece.state, PIECE_LANDED);
    EXPECT_EQ(piece.y, 272);
    EXPECT_EQ(piece.lock_delay, 2);  // set to 3, and the landing update already counts
    EXPECT_EQ(Sound_Plays(sound_lock), 1);
}

TEST_F(UpdatePlay, APieceShiftedOffItsSupportFallsAgainAtTheReTest) {
    well[20][9].value = 17;
    Place_Piece(6, 112, 268, PIECE_FALLING);
    piece.speed = 6;
    Hold(0, 0);
    Update_Play(&piece);
    Hold(-1, 0);
    Update_Play(&piece);  // steps onto columns 7..8, nothing below
    EXPECT_EQ(piece.x, 96);
    EXPECT_EQ(piece.state, PIECE_LANDED);
    Update_Play(&piece);  // re-test
    EXPECT_EQ(piece.state, PIECE_FALLING);
    EXPECT_EQ(piece.y, 272);
    Update_Play(&piece);
    EXPECT_EQ(piece.y, 278);
    EXPECT_EQ(Sound_Plays(sound_lock), 1);
}

// --- lock and spawn -----------------------------------------------------------------------

TEST_F(UpdatePlay, ALandedPieceLocksAtTheReTestAndTheNextUpdateSpawnsAFallingPiece) {
    well[20][9].value = 17;
    Place_Piece(6, 112, 268, PIECE_FALLING);
    piece.speed = 6;
    piece.next_shape = 11;
    Hold(0, 0);
    Update_Play(&piece);
    Update_Play(&piece);
    EXPECT_EQ(piece.state, PIECE_LANDED);
    Update_Play(&piece);
    EXPECT_EQ(piece.state, PIECE_SPAWN);
    for (int row : {18, 19}) {
        for (int column : {8, 9}) {
            EXPECT_EQ(well[row][column].value, shape_table[6].image) << row << "," << column;
        }
    }
    EXPECT_EQ(well[20][9].value, 17);
    EXPECT_EQ(clear_phase, CLEAR_NONE);

    // The spawn update already turns and drops the new piece.
    Hold(0, 0, INPUT_BUTTON_2);
    Update_Play(&piece);
    EXPECT_EQ(piece.state, PIECE_FALLING);
    EXPECT_EQ(piece.shape, 11);
    EXPECT_EQ(piece.x, 112);
    EXPECT_EQ(piece.y, 6);
    EXPECT_TRUE(Same_Grid(piece.body, Turned(shape_table[11], ROTATE_CLOCKWISE)));
}

TEST_F(UpdatePlay, ABlockedSpawnEndsTheGameOnce) {
    Set_Well_Rows(0, {"1......####......1", "1......####......1", "1......####......1",
                      "1......####......1"});
    piece.state = PIECE_SPAWN;
    piece.next_shape = 6;
    game_state = FLOW_PLAYING;
    Hold(1, 2, INPUT_BUTTON_2);
    Update_Play(&piece);
    EXPECT_EQ(piece.state, PIECE_BLOCKED);
    EXPECT_EQ(game_state, FLOW_GAME_ENDING);
    EXPECT_EQ(Sound_Plays(sound_loser), 1);
    Piece blocked = piece;
    for (int update = 0; update < 5; update++) {
        Update_Play(&piece);
    }
    EXPECT_EQ(0, std::memcmp(&blocked, &piece, sizeof piece));
    EXPECT_EQ(Sound_Plays(sound_loser), 1);
    EXPECT_EQ(Sound_Plays(sound_lock), 0);
}

TEST_F(UpdatePlay, NothingMovesWhileRowsAreBeingCleared) {
    Place_Piece(6, 112, 32, PIECE_FALLING);
    clear_phase = CLEAR_FLASH;
    flash_tick = 1;
    Hold(1, 2, INPUT_BUTTON_2);
    Piece before = piece;
    Update_Play(&piece);
    EXPECT_EQ(0, std::memcmp(&before, &piece, sizeof piece));
    EXPECT_EQ(flash_tick, 2);
    EXPECT_EQ(rotate_delay, 0);
    EXPECT_EQ(move_repeat, 0);
}

// --- a well that a bad layout left open -----------------------------------------------------

TEST_F(UpdatePlay, WithoutWallsOrFloorThePieceStaysInsideAndLocksInside) {
    for (auto& row : well) {
        for (Cell& cell : row) {
            cell.value = 0;
        }
    }
    Place_Piece(6, 112, 0, PIECE_FALLING);  // square over columns 8..9
    piece.speed = 12;
    for (int update = 0; update < 60 && piece.state != PIECE_SPAWN; update++) {
        Hold(-1, 2);
        Update_Play(&piece);
        ASSERT_GE(piece.x, -16);
    }
    ASSERT_EQ(piece.state, PIECE_SPAWN);
    EXPECT_EQ(well[24][0].value, shape_table[6].image);
    EXPECT_EQ(well[25][1].value, shape_table[6].image);
}

TEST_F(UpdatePlay, ALockNeverWritesOutsideTheGrid) {
    WellGrid before = well;
    // The ring hanging over the left edge and the bottom: only column 0 of rows 24 and 25
    // lies inside; a write to column -1 or row 26 would land in a neighbouring cell.
    Place_Piece(15, -32, 16 * 24, PIECE_LOCK);
    Update_Play(&piece);
    for (int row = 0; row < WELL_ROWS; row++) {
        for (int column = 0; column < WELL_COLUMNS; column++) {
            int expected = before[row][column].value;
            if (column == 0 && (row == 24 || row == 25)) {
                expected = shape_table[15].image;
            }
            EXPECT_EQ(well[row][column].value, expected) << row << "," << column;
        }
    }
    EXPECT_EQ(piece.state, PIECE_SPAWN);
}

}  // namespace
