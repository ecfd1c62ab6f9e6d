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
        dir = Make_Scratch_Directory();
        ASSERT_TRUE(Load_Test_Sounds(dir));
        Start(6, 112, 0);
    }
    void TearDown() override {
        Release_Test_Sounds();
        Remove_Scratch_Directory(dir);
    }

    // Fresh rules, an empty walled well, and the piece falling at speed 2.
    static void Start(int shape, int x, int y) {
        Reset_Game_Rules();
        Empty_Well();
        Place_Piece(shape, x, y, PIECE_FALLING);
        piece.speed = 2;
    }
    static void Hold(int dx, int dy, uint32_t buttons = 0) {
        input_state.dx = dx;
        input_state.dy = dy;
        input_state.buttons = buttons;
    }
    // Up held on keyboard and stick at speed 2: the piece hangs where it is.
    static void Hang(int dx = 0, uint32_t buttons = 0) { Hold(dx, -2, buttons); }

    // The square resting on a fixed cell under column 9 after one update.
    static void Land_Square() {
        well[20][9].value = 17;
        Place_Piece(6, 112, 268, PIECE_FALLING);
        piece.speed = 6;
        Hold(0, 0);
        Update_Play(&piece);
    }

    std::string dir;
};

// The shape given a quarter turn where nothing is in the way.
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

bool Same_Grid(const Shape& a, const Shape& b) {
    return std::memcmp(a.grid, b.grid, sizeof a.grid) == 0;
}

TEST_F(UpdatePlay, HeldButtonsTurnEveryThirdUpdateAndClockwiseWins) {
    Start(11, 112, 0);
    Shape turns[4] = {shape_table[11]};
    for (int i = 1; i < 4; i++) {
        turns[i] = Turned(turns[i - 1], ROTATE_CLOCKWISE);
    }
    const int expected[] = {1, 1, 1, 2, 2, 2, 3};
    for (int update = 0; update < 7; update++) {
        Hang(0, INPUT_BUTTON_1 | INPUT_BUTTON_2);
        Update_Play(&piece);
        EXPECT_TRUE(Same_Grid(piece.body, turns[expected[update]])) << "update " << update;
    }
    Hang();
    Update_Play(&piece);
    Update_Play(&piece);
    Hang(0, INPUT_BUTTON_1);
    Update_Play(&piece);
    EXPECT_TRUE(Same_Grid(piece.body, turns[2]));
}

TEST_F(UpdatePlay, ARefusedTurnStillMakesTheNextTwoUpdatesIgnoreTheButtons) {
    Start(5, 16, 0);        // the bar lying over columns 1..4
    well[3][2].value = 17;  // in the way of standing it up
    Shape lying = piece.body;
    Hang(0, INPUT_BUTTON_2);
    Update_Play(&piece);
    EXPECT_TRUE(Same_Grid(piece.body, lying));
    well[3][2].value = 0;
    Update_Play(&piece);
    Update_Play(&piece);
    EXPECT_TRUE(Same_Grid(piece.body, lying));
    Update_Play(&piece);
    EXPECT_FALSE(Same_Grid(piece.body, lying));
}

TEST_F(UpdatePlay, HoldingASideStepsAtOnceThenEverySecondUpdate) {
    std::vector<int> xs;
    for (int update = 0; update < 5; update++) {
        Hang(2);  // one column per step, whatever the size of dx
        Update_Play(&piece);
        xs.push_back(piece.x);
    }
    EXPECT_EQ(xs, (std::vector<int>{128, 128, 144, 144, 160}));
    // Once a decision has seen dx 0, the next press steps at once.
    Hang(0);
    Update_Play(&piece);
    Update_Play(&piece);
    Hang(-1);
    Update_Play(&piece);
    EXPECT_EQ(piece.x, 144);
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
        Hang(c.dx);
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

TEST_F(UpdatePlay, ALandedPieceShiftedOffItsSupportFallsAgainAtTheReTest) {
    Land_Square();
    EXPECT_EQ(piece.state, PIECE_LANDED);
    EXPECT_EQ(piece.y, 272);
    EXPECT_EQ(piece.lock_delay, 2);  // 3, less the landing update's own count
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
}

TEST_F(UpdatePlay, ALandedPieceLocksAtTheReTestAndTheNextUpdateSpawnsAndMovesAPiece) {
    piece.next_shape = 11;
    Land_Square();
    Update_Play(&piece);
    EXPECT_EQ(piece.state, PIECE_LANDED);
    Update_Play(&piece);
    EXPECT_EQ(piece.state, PIECE_SPAWN);
    for (int row : {18, 19}) {
        for (int column : {8, 9}) {
            EXPECT_EQ(well[row][column].value, shape_table[6].image);
        }
    }
    Hold(0, 0, INPUT_BUTTON_2);
    Update_Play(&piece);
    EXPECT_EQ(piece.state, PIECE_FALLING);
    EXPECT_EQ(piece.shape, 11);
    EXPECT_EQ(piece.y, 6);  // its first fall step
    EXPECT_TRUE(Same_Grid(piece.body, Turned(shape_table[11], ROTATE_CLOCKWISE)));
}

TEST_F(UpdatePlay, ABlockedSpawnEndsTheGameOnce) {
    Set_Well_Rows(0, {"1......####......1", "1......####......1", "1......####......1",
                      "1......####......1"});
    piece.state = PIECE_SPAWN;
    game_state = FLOW_PLAYING;
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

TEST_F(UpdatePlay, NothingMovesWhileRowsAreBeingCleared) {
    clear_phase = CLEAR_FLASH;
    Hold(1, 2, INPUT_BUTTON_2);
    Piece before = piece;
    Update_Play(&piece);
    EXPECT_EQ(0, std::memcmp(&before, &piece, sizeof piece));
    EXPECT_EQ(flash_tick, 1);
    EXPECT_EQ(rotate_delay + move_repeat, 0);
}

TEST_F(UpdatePlay, AWellWithoutWallsOrFloorStillHoldsThePiece) {
    for (auto& row : well) {
        for (Cell& cell : row) {
            cell.value = 0;
        }
    }
    piece.speed = 12;
    for (int update = 0; update < 60 && piece.state != PIECE_SPAWN; update++) {
        Hold(-1, 2);
        Update_Play(&piece);
    }
    ASSERT_EQ(piece.state, PIECE_SPAWN);
    EXPECT_EQ(well[24][0].value, shape_table[6].image);
    EXPECT_EQ(well[25][1].value, shape_table[6].image);
}

TEST_F(UpdatePlay, ALockNeverWritesOutsideTheGrid) {
    Reset_Game_Rules();
    WellGrid before = well;
    // The ring over the left edge and the bottom: only column 0 of rows 24 and 25 is inside.
    // A write to column -1 or row 26 would land in a neighbouring cell.
    Place_Piece(15, -32, 16 * 24, PIECE_LOCK);
    Update_Play(&piece);
    for (int row = 0; row < WELL_ROWS; row++) {
        for (int column = 0; column < WELL_COLUMNS; column++) {
            bool inside = column == 0 && row >= 24;
            EXPECT_EQ(well[row][column].value,
                      inside ? shape_table[15].image : before[row][column].value)
                << row << "," << column;
        }
    }
}

}  // namespace
