// The falling piece against the well: the shapes' cells, the cell probes, rotation, the
// landing's lock sounds, the stick's four ways, and the shifts onto blocks that a lock must
// neither overwrite nor write outside the grid. Pacing, turns, falls, spawns and the order shapes
// are dealt in are pinned by the recorded sessions.
#include <gtest/gtest.h>

#include <cstring>

#include "game/falling_piece.h"
#include "game/piece.h"
#include "game/well.h"
#include "input/input_device.h"
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

// Both game types deal from these grids, the first seven in the classic one.
TEST_F(PieceTest, EveryShapeHasItsCellsWhereItsBoxPutsThem) {
    const char* const grids[SHAPE_TABLE_SIZE] = {
        "..../###./.#../....", "..../###./#.../....", "..../###./..#./....", "..../.##./##../....",
        "..../##../.##./....", "..../..../####/....", "..../.##./.##./....", "..../..#./.#../....",
        "..../.###/..../....", "..../.#../.##./....", "..../.#../###./.#..", "###./#.../#.../....",
        "..../##../..##/....", "..../..##/##../....", "..../###./#.#./....", "###./#.#./###./...."};
    for (int s = 0; s < SHAPE_TABLE_SIZE; s++) {
        EXPECT_EQ(Grid_Text(shape_table[s]), grids[s]) << "shape " << s;
    }
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

// The stick past its dead zone each way reads like the arrow key of that way.
TEST_F(PieceTest, TheStickPushedEachWayReadsAsThatDirection) {
    platform::headless::set_joystick_present(true);
    InputDevice reader;  // finds the stick at rest, as the game's does at start-up
    const Ints cases[] = {{0, 32767, -1, 0, INPUT_LEFT},
                          {65535, 32767, 1, 0, INPUT_RIGHT},
                          {32767, 0, 0, -1, INPUT_UP},
                          {32767, 65535, 0, 1, INPUT_DOWN}};
    for (const Ints& c : cases) {
        platform::headless::set_joystick_position(c[0], c[1], 0);
        reader.Poll(&input_state);
        EXPECT_EQ((Ints{input_state.dx, input_state.dy, int(input_state.buttons)}),
                  (Ints{c[2], c[3], c[4]}))
            << c[0] << "," << c[1];
    }
}

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
