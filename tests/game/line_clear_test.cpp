// Full rows: finding them, the collapse, the score, tallies and level. The clearing's timeline
// is pinned by the recorded sessions.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/falling_piece.h"
#include "game/line_clear.h"
#include "game/well.h"
#include "sound/sound.h"
#include "support/game_rules.h"

namespace {

void Start(int start_level, int speed, int lines) {
    Reset_Game_Rules();
    level = start_level;
    piece.speed = speed;
    level_lines = lines;
}

// Fills the interior of rows first..last with piece cells.
void Fill_Interior(int first, int last) {
    for (int row = first; row <= last; row++) {
        Set_Well_Rows(row, {"1bbbbbbbbbbbbbbbb1"});
    }
}

// Finds the full rows and runs the clearing to its end, as the lock and the updates would.
int Run_Clear() {
    int count = Process_Lines(1);
    clear_phase = count > 0 ? CLEAR_START : CLEAR_NONE;
    for (int update = 0; update < 40 && clear_phase != CLEAR_NONE; update++) {
        Process_Lines(0);
    }
    return count;
}

using LineClear = RulesTest;

TEST_F(LineClear, RowsTwentyAndTwentyTwoCollapseTogetherAroundFixedCells) {
    // Column 5 a stack of cells; column 3 a fixed cell with cells above and below; column 12 a
    // cell held between two fixed cells.
    Set_Well_Rows(4, {"1....b...........1", "1....c......1....1", "1....d......e....1",
                      "1....e......1....1", "1..k.f...........1", "1..l.g...........1",
                      "1..9.h...........1", "1..m.i...........1", "1..n.j...........1"});
    // A row of fixed cells alone never counts; one mixed with piece cells does.
    Set_Well_Rows(16, {"444444444444444444"});
    Set_Well_Rows(20, {"1bbbbbbbbbbb4bbbb1", "1..i.g...........1", "1bbbbbbbbbbbbbbbb1"});
    EXPECT_EQ(Run_Clear(), 2);
    const char* const want[] = {"1................1", "1...........1....1", "1....b...........1",
                                "1....c......1....1", "1....d...........1", "1....e...........1",
                                "1..9.f...........1", "1....g...........1", "1....h...........1",
                                "1..m.i...........1", "1..n.j...........1"};
    for (int row = 4; row <= 14; row++) {
        EXPECT_EQ(Well_Row(row), want[row - 4]) << row;
    }
    EXPECT_EQ(Well_Row(16) + Well_Row(17), "4444444444444444441................1");
    EXPECT_EQ(Well_Row(20) + Well_Row(22), "1...........4....11..i.g...........1");
    EXPECT_EQ(score, 5 * 0 + 10 * 20 + 0 + 100 * 2);  // the topmost cleared row counts
}

TEST_F(LineClear, CreditLevelUpsWithTheRestCarriedAndTheJumpFromEightToTwelve) {
    struct Case {
        int level, speed, lines, rows, score, level_after, lines_after, speed_after;
    };
    // Speed and level credited are those from before the level-up.
    const Case cases[] = {{0, 2, 0, 1, 350, 0, 1, 2},  {3, 5, 0, 4, 665, 3, 4, 5},
                          {5, 8, 8, 3, 610, 6, 1, 12}, {5, 2, 9, 1, 400, 6, 0, 3},
                          {5, 7, 3, 4, 695, 5, 7, 7},  {5, 11, 6, 4, 715, 6, 0, 12},
                          {5, 14, 9, 2, 550, 6, 1, 12}};
    for (const Case& c : cases) {
        Start(c.level, c.speed, c.lines);
        const int sounds = Sound_Plays(sound_next_level);
        Fill_Interior(WELL_ROWS - 1 - c.rows, WELL_ROWS - 2);
        Run_Clear();
        EXPECT_EQ((Ints{score, level, level_lines, piece.speed}),
                  (Ints{c.score, c.level_after, c.lines_after, c.speed_after}));
        EXPECT_EQ(Sound_Plays(sound_next_level) - sounds, c.level_after - c.level);
    }
    // Only clears of three, four and six rows are tallied.
    for (int n = 1; n <= 8; n++) {
        Start(0, 2, 0);
        Fill_Interior(WELL_ROWS - 1 - n, WELL_ROWS - 2);
        EXPECT_EQ(Run_Clear(), n);
        EXPECT_EQ((Ints{lines_total, clears_of_3, clears_of_4, clears_of_6}),
                  (Ints{n, n == 3, n == 4, n == 6}));
    }
}

TEST_F(LineClear, MoreThanEightFullRowsClearsTheTopEightAndLeavesTheRest) {
    piece.speed = 2;
    Fill_Interior(14, 24);
    EXPECT_EQ(Process_Lines(1), 8);
    EXPECT_EQ(full_rows[7], 21);
    clear_phase = CLEAR_START;
    while (clear_phase != CLEAR_NONE) {
        Process_Lines(0);
    }
    EXPECT_EQ(score, 5 * 2 + 10 * 14 + 100 * 8);
    EXPECT_EQ(Well_Row(21), "1................1");
    EXPECT_EQ(Process_Lines(1), 3);  // the rows left full are found by the next search
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
    EXPECT_EQ(Well_Row(24) + Well_Row(25), "1................1222222222222222222");
}

}  // namespace
