#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/falling_piece.h"
#include "game/line_clear.h"
#include "game/well.h"
#include "sound/sound.h"
#include "support/game_rules.h"

namespace {

class LineClear : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = Make_Scratch_Directory();
        ASSERT_TRUE(Load_Test_Sounds(dir));
        Start(0, 2, 0);
    }
    void TearDown() override {
        Release_Test_Sounds();
        Remove_Scratch_Directory(dir);
    }

    static void Start(int start_level, int speed, int lines) {
        Reset_Game_Rules();
        level = start_level;
        piece.speed = speed;
        level_lines = lines;
    }

    // Fills the interior of rows first..last with piece cells.
    static void Fill_Interior(int first, int last) {
        for (int row = first; row <= last; row++) {
            for (int column = 1; column < WELL_COLUMNS - 1; column++) {
                well[row][column].value = 2;
            }
        }
    }

    // Finds the full rows and runs the clearing to its end, as the lock and the updates would.
    static int Run_Clear() {
        int count = Process_Lines(1);
        clear_phase = count > 0 ? CLEAR_START : CLEAR_NONE;
        for (int update = 0; update < 40 && clear_phase != CLEAR_NONE; update++) {
            Process_Lines(0);
        }
        return count;
    }

    std::string dir;
};

TEST_F(LineClear, TimelineFromTheLockToTheNextSpawn) {
    Set_Well_Rows(22, {"1..#.............1", "1#######..#######1", "1#######..#######1"});
    Place_Piece(6, 112, 352, PIECE_LOCK);  // the square completes rows 23 and 24

    Update_Play(&piece);  // U0
    EXPECT_EQ(clear_phase, CLEAR_START);
    EXPECT_EQ(full_row_count, 2);
    EXPECT_EQ(full_rows[0], 23);
    EXPECT_EQ(lines_total, 2);

    for (int update = 1; update <= 16; update++) {
        Update_Play(&piece);
        int flash = (update - 1) / 5;
        int tick = (update - 1) % 5;
        EXPECT_EQ(clear_phase, update < 16 ? CLEAR_FLASH : CLEAR_COLLAPSE) << "U" << update;
        EXPECT_EQ(flash_count, update < 16 ? flash : 3) << "U" << update;
        EXPECT_EQ(flash_tick, update < 16 ? tick : 5) << "U" << update;
        EXPECT_EQ(score, 0);
        EXPECT_EQ(well[24][8].value, 0);  // emptied in U1; walls kept
        EXPECT_EQ(well[24][0].value, CELL_WALL);
        EXPECT_EQ(well[22][3].value, 1);  // nothing drops before U17
    }
    EXPECT_EQ(Sound_Plays(sound_line), 1);

    Update_Play(&piece);  // U17
    EXPECT_EQ(clear_phase, CLEAR_NONE);
    EXPECT_EQ(piece.state, PIECE_SPAWN);
    EXPECT_EQ(well[24][3].value, 1);
    EXPECT_EQ(well[22][3].value, 0);
    EXPECT_EQ(score, 5 * 2 + 10 * 23 + 0 + 100 * 2);

    Update_Play(&piece);  // U18
    EXPECT_EQ(piece.state, PIECE_FALLING);
}

TEST_F(LineClear, RowsOfFixedCellsAloneNeverCountButMixedRowsDo) {
    Fill_Row(10, 20);
    EXPECT_EQ(Process_Lines(1), 0);  // neither that row nor the floor
    Set_Well_Rows(19, {"1....#...........1", "XXXXXX############"});
    EXPECT_EQ(Run_Clear(), 1);
    EXPECT_EQ(full_rows[0], 20);
    for (int column = 0; column < 6; column++) {
        EXPECT_EQ(well[20][column].value, 17);
    }
    EXPECT_EQ(well[20][6].value, 0);
    EXPECT_EQ(well[19][5].value, 0);  // it rested on a fixed cell: overwritten from above
}

TEST_F(LineClear, RowsTwentyAndTwentyTwoCollapseTogetherAroundFixedCells) {
    for (int row = 0; row < 20; row++) {
        well[row][5].value = 1 + row % 15;
    }
    well[21][5].value = 7;
    // Column 3: a fixed cell in row 10 with cells above and below it.
    const int column_3[] = {11, 12, 25, 13, 14};
    for (int i = 0; i < 5; i++) {
        well[8 + i][3].value = column_3[i];
    }
    well[21][3].value = 9;
    // Column 12: a cell held between two fixed cells.
    well[5][12].value = 17;
    well[6][12].value = 4;
    well[7][12].value = 17;
    Fill_Interior(20, 20);
    Fill_Interior(22, 22);

    EXPECT_EQ(Run_Clear(), 2);
    for (int row = 0; row < 20; row++) {
        EXPECT_EQ(well[row + 2][5].value, 1 + row % 15) << "old row " << row;
    }
    EXPECT_EQ(well[22][5].value, 7);
    EXPECT_EQ(well[0][5].value + well[1][5].value, 0);
    // Each pass empties the cell under the fixed one and overwrites the one resting on it.
    std::vector<int> after;
    for (int row = 8; row <= 14; row++) {
        after.push_back(well[row][3].value);
    }
    EXPECT_EQ(after, (std::vector<int>{0, 0, 25, 0, 0, 13, 14}));
    EXPECT_EQ(well[22][3].value, 9);
    EXPECT_EQ(well[6][12].value, 0);
    EXPECT_EQ(well[7][12].value, 17);
    EXPECT_EQ(well[22][0].value, CELL_WALL);
    EXPECT_EQ(score, 5 * 2 + 10 * 20 + 0 + 100 * 2);  // the topmost cleared row counts
}

TEST_F(LineClear, WorkedScoreExamples) {
    Fill_Interior(24, 24);
    Run_Clear();
    EXPECT_EQ(score, 350);

    Start(3, 5, 0);
    Fill_Interior(21, 24);
    Run_Clear();
    EXPECT_EQ(score, 665);
    EXPECT_EQ(level_lines, 4);
}

TEST_F(LineClear, TalliesCountOnlyClearsOfThreeFourAndSix) {
    for (int n = 1; n <= 8; n++) {
        Start(0, 2, 0);
        Fill_Interior(WELL_ROWS - 1 - n, WELL_ROWS - 2);
        EXPECT_EQ(Run_Clear(), n);
        EXPECT_EQ(lines_total, n);
        EXPECT_EQ(clears_of_3 * 3 + clears_of_4 * 4 + clears_of_6 * 6,
                  n == 3 || n == 4 || n == 6 ? n : 0)
            << n;
    }
}

TEST_F(LineClear, LevelUpsCarryTheRestAndJumpFromEightToTwelve) {
    struct Case {
        int level_lines, speed, rows, after_lines, after_speed;
    };
    for (Case c : {Case{8, 8, 3, 1, 12}, Case{9, 2, 1, 0, 3}, Case{3, 7, 4, 7, 7},
                   Case{6, 11, 4, 0, 12}, Case{9, 14, 2, 1, 12}}) {
        Start(5, c.speed, c.level_lines);
        Clear_Sound_Plays();
        Fill_Interior(WELL_ROWS - 1 - c.rows, WELL_ROWS - 2);
        Run_Clear();
        bool up = c.level_lines + c.rows >= 10;
        EXPECT_EQ(level_lines, c.after_lines);
        EXPECT_EQ(level, up ? 6 : 5);
        EXPECT_EQ(piece.speed, c.after_speed);
        EXPECT_EQ(Sound_Plays(sound_next_level), up ? 1 : 0);
        // The credit takes speed and level from before the level-up.
        EXPECT_EQ(score, 5 * c.speed + 10 * (WELL_ROWS - 1 - c.rows) + 50 + 100 * c.rows);
    }
}

TEST_F(LineClear, MoreThanEightFullRowsClearsTheTopEightAndLeavesTheRest) {
    Fill_Interior(14, 24);
    EXPECT_EQ(Process_Lines(1), 8);
    EXPECT_EQ(full_rows[7], 21);
    EXPECT_EQ(lines_total, 8);
    clear_phase = CLEAR_START;
    while (clear_phase != CLEAR_NONE) {
        Process_Lines(0);
    }
    EXPECT_EQ(score, 5 * 2 + 10 * 14 + 100 * 8);
    EXPECT_EQ(well[21][8].value, 0);
    // The rows left full are found by the next search.
    EXPECT_EQ(Process_Lines(1), 3);
    EXPECT_EQ(full_rows[0], 22);
    EXPECT_EQ(lines_total, 11);
}

TEST_F(LineClear, ADamagedRowListStaysInsideTheWell) {
    Fill_Interior(24, 24);
    const int listed[MAX_FULL_ROWS] = {-3, 40, 24, 26, 24, 24, 24, 24};
    std::copy(listed, listed + MAX_FULL_ROWS, full_rows);
    full_row_count = 99;
    clear_phase = CLEAR_START;
    for (int update = 0; update < 20; update++) {
        EXPECT_EQ(Process_Lines(0), 1);
    }
    EXPECT_EQ(clear_phase, CLEAR_NONE);
    EXPECT_EQ(well[24][8].value, 0);
    EXPECT_EQ(well[25][8].value, CELL_FLOOR);
}

}  // namespace
