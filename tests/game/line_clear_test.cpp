#include <gtest/gtest.h>

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
        Reset_Game_Rules();
        dir = Make_Scratch_Directory();
        ASSERT_TRUE(Load_Test_Sounds(dir));
        piece.speed = 2;
    }
    void TearDown() override {
        Release_Test_Sounds();
        Remove_Scratch_Directory(dir);
    }

    // Fills the interior of rows first..last with piece cells.
    static void Fill_Interior(int first, int last, int value = 2) {
        for (int row = first; row <= last; row++) {
            for (int column = 1; column < WELL_COLUMNS - 1; column++) {
                well[row][column].value = value;
            }
        }
    }

    // Finds the full rows and runs the clearing to its end, as the lock and the updates would.
    static int Run_Clear() {
        int count = Process_Lines(1);
        if (count > 0) {
            clear_phase = CLEAR_START;
        }
        for (int update = 0; update < 40 && clear_phase != CLEAR_NONE; update++) {
            Process_Lines(0);
        }
        return count;
    }

    std::string dir;
};

struct Step {
    int phase, tick, count;
};

TEST_F(LineClear, TimelineFromTheLockToTheNextSpawn) {
    Set_Well_Rows(22, {"1..#.............1", "1#######..#######1", "1#######..#######1"});
    well[22][3].value = 5;
    Place_Piece(6, 112, 352, PIECE_LOCK);  // the square fills columns 8..9 of rows 23..24

    Update_Play(&piece);  // U0
    EXPECT_EQ(clear_phase, CLEAR_START);
    EXPECT_EQ(full_row_count, 2);
    EXPECT_EQ(full_rows[0], 23);
    EXPECT_EQ(full_rows[1], 24);
    EXPECT_EQ(lines_total, 2);
    EXPECT_EQ(piece.state, PIECE_SPAWN);

    // U1 .. U16: the state after each update.
    std::vector<Step> expected = {
        {CLEAR_FLASH, 0, 0}, {CLEAR_FLASH, 1, 0}, {CLEAR_FLASH, 2, 0}, {CLEAR_FLASH, 3, 0},
        {CLEAR_FLASH, 4, 0}, {CLEAR_FLASH, 0, 1}, {CLEAR_FLASH, 1, 1}, {CLEAR_FLASH, 2, 1},
        {CLEAR_FLASH, 3, 1}, {CLEAR_FLASH, 4, 1}, {CLEAR_FLASH, 0, 2}, {CLEAR_FLASH, 1, 2},
        {CLEAR_FLASH, 2, 2}, {CLEAR_FLASH, 3, 2}, {CLEAR_FLASH, 4, 2}, {CLEAR_COLLAPSE, 5, 3}};
    for (size_t i = 0; i < expected.size(); i++) {
        Update_Play(&piece);
        EXPECT_EQ(clear_phase, expected[i].phase) << "U" << i + 1;
        EXPECT_EQ(flash_tick, expected[i].tick) << "U" << i + 1;
        EXPECT_EQ(flash_count, expected[i].count) << "U" << i + 1;
        EXPECT_EQ(score, 0) << "U" << i + 1;
        if (i == 0) {
            EXPECT_EQ(well[24][8].value, 0);  // emptied in U1, walls kept
            EXPECT_EQ(well[24][0].value, CELL_WALL);
            EXPECT_EQ(Sound_Plays(sound_line), 1);
        }
    }
    EXPECT_EQ(well[22][3].value, 5);  // nothing has dropped yet

    Update_Play(&piece);  // U17
    EXPECT_EQ(clear_phase, CLEAR_NONE);
    EXPECT_EQ(piece.state, PIECE_SPAWN);
    EXPECT_EQ(well[24][3].value, 5);
    EXPECT_EQ(well[22][3].value, 0);
    EXPECT_EQ(score, 5 * 2 + 10 * 23 + 0 + 100 * 2);
    EXPECT_EQ(Sound_Plays(sound_line), 1);

    Update_Play(&piece);  // U18
    EXPECT_EQ(piece.state, PIECE_FALLING);
}

TEST_F(LineClear, RowsOfFixedCellsAloneNeverCountButMixedRowsDo) {
    EXPECT_EQ(Process_Lines(1), 0);  // the floor
    Fill_Row(10, 20);
    EXPECT_EQ(Process_Lines(1), 0);
    EXPECT_EQ(lines_total, 0);

    Set_Well_Rows(19, {"1....#...........1", "XXXXXX############"});
    EXPECT_EQ(Run_Clear(), 1);
    EXPECT_EQ(full_rows[0], 20);
    for (int column = 0; column < 6; column++) {
        EXPECT_EQ(well[20][column].value, 17) << column;  // fixed cells stay put
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
    well[8][3].value = 11;
    well[9][3].value = 12;
    well[10][3].value = 25;
    well[11][3].value = 13;
    well[12][3].value = 14;
    well[21][3].value = 9;
    // Column 12: a cell held between two fixed cells has nothing to take from above.
    well[5][12].value = 26;
    well[6][12].value = 4;
    well[7][12].value = 26;
    Fill_Interior(20, 20);
    Fill_Interior(22, 22);
    well[20][3].value = 3;
    well[22][3].value = 3;

    EXPECT_EQ(Run_Clear(), 2);
    for (int row = 0; row < 20; row++) {
        EXPECT_EQ(well[row + 2][5].value, 1 + row % 15) << "old row " << row;
    }
    EXPECT_EQ(well[22][5].value, 7);
    EXPECT_EQ(well[0][5].value, 0);
    EXPECT_EQ(well[1][5].value, 0);

    // Each pass empties the cell under the fixed one and overwrites the one resting on it.
    std::vector<int> column_3;
    for (int row = 8; row <= 14; row++) {
        column_3.push_back(well[row][3].value);
    }
    EXPECT_EQ(column_3, (std::vector<int>{0, 0, 25, 0, 0, 13, 14}));
    EXPECT_EQ(well[21][3].value, 0);
    EXPECT_EQ(well[22][3].value, 9);
    EXPECT_EQ(well[6][12].value, 0);
    EXPECT_EQ(well[5][12].value, 26);
    EXPECT_EQ(well[7][12].value, 26);
    EXPECT_EQ(well[22][0].value, CELL_WALL);
    // The topmost cleared row is what the position part of the credit counts.
    EXPECT_EQ(score, 5 * 2 + 10 * 20 + 0 + 100 * 2);
}

TEST_F(LineClear, WorkedScoreExamples) {
    Fill_Interior(24, 24);
    Run_Clear();
    EXPECT_EQ(score, 350);

    Reset_Game_Rules();
    level = 3;
    piece.speed = 5;
    Fill_Interior(21, 24);
    Run_Clear();
    EXPECT_EQ(score, 665);
    EXPECT_EQ(level, 3);
    EXPECT_EQ(level_lines, 4);
}

TEST_F(LineClear, TalliesCountOnlyClearsOfThreeFourAndSix) {
    for (int n = 1; n <= 8; n++) {
        Reset_Game_Rules();
        Fill_Interior(WELL_ROWS - 1 - n, WELL_ROWS - 2);
        EXPECT_EQ(Run_Clear(), n);
        EXPECT_EQ(lines_total, n);
        EXPECT_EQ(clears_of_3, n == 3 ? 1 : 0) << n;
        EXPECT_EQ(clears_of_4, n == 4 ? 1 : 0) << n;
        EXPECT_EQ(clears_of_6, n == 6 ? 1 : 0) << n;
    }
}

TEST_F(LineClear, LevelUpsCarryTheRestAndJumpFromEightToTwelve) {
    struct Case {
        int level_lines, speed, rows;
        int after_lines, after_level, after_speed, next_level_sounds;
    };
    const Case cases[] = {
        {8, 8, 3, 1, 6, 12, 1},  // 8 + 3: one left over; 8 becomes 12, never 9
        {9, 2, 1, 0, 6, 3, 1},   {3, 7, 4, 7, 5, 7, 0},
        {6, 11, 4, 0, 6, 12, 1}, {9, 14, 2, 1, 6, 12, 1},  // a starting speed above 12 drops to 12
    };
    for (const Case& c : cases) {
        Reset_Game_Rules();
        Clear_Sound_Plays();
        level = 5;
        level_lines = c.level_lines;
        piece.speed = c.speed;
        Fill_Interior(WELL_ROWS - 1 - c.rows, WELL_ROWS - 2);
        Run_Clear();
        EXPECT_EQ(level_lines, c.after_lines);
        EXPECT_EQ(level, c.after_level);
        EXPECT_EQ(piece.speed, c.after_speed);
        EXPECT_EQ(Sound_Plays(sound_next_level), c.next_level_sounds);
    }

    // The credit takes speed and level from before the level-up.
    Reset_Game_Rules();
    level = 5;
    level_lines = 8;
    piece.speed = 8;
    Fill_Interior(22, 24);
    Run_Clear();
    EXPECT_EQ(score, 5 * 8 + 10 * 22 + 10 * 5 + 100 * 3);
}

TEST_F(LineClear, MoreThanEightFullRowsClearsTheTopEightAndLeavesTheRest) {
    Fill_Interior(14, 24);
    EXPECT_EQ(Process_Lines(1), 8);
    EXPECT_EQ(lines_total, 8);
    for (int i = 0; i < 8; i++) {
        EXPECT_EQ(full_rows[i], 14 + i);
    }
    clear_phase = CLEAR_START;
    while (clear_phase != CLEAR_NONE) {
        Process_Lines(0);
    }
    EXPECT_EQ(score, 5 * 2 + 10 * 14 + 0 + 100 * 8);
    EXPECT_EQ(level_lines, 8);
    for (int row = 0; row < 22; row++) {
        EXPECT_EQ(well[row][8].value, 0) << row;
    }
    // The rows left full are found by the next search.
    EXPECT_EQ(Process_Lines(1), 3);
    EXPECT_EQ(full_rows[0], 22);
    EXPECT_EQ(lines_total, 11);
}

TEST_F(LineClear, AdvancingWithoutAClearingDoesNothing) {
    Fill_Interior(24, 24);
    for (int phase : {CLEAR_NONE, 9, -1}) {
        clear_phase = phase;
        EXPECT_EQ(Process_Lines(0), 1);
        EXPECT_EQ(clear_phase, phase);
        EXPECT_EQ(well[24][5].value, 2);
    }
}

}  // namespace
