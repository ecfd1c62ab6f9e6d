// The sixteen layouts that ship with the game.
#include <gtest/gtest.h>

#include <string>

#include "game/playfield_file.h"
#include "game/well.h"
#include "platform/headless/control.h"
#include "support/game_rules.h"

namespace {

class ShippedLayouts : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        Reset_Game_Rules();
        platform::headless::reset();
        platform::headless::set_data_dirs({CELLSTORM_SOURCE_DIR "/assets/playfields"});
        Fill_Well(9);
        ASSERT_EQ(Load_Playfield(GetParam()), 1);
    }
    void TearDown() override { platform::headless::reset(); }
};

TEST_P(ShippedLayouts, CloseTheWellKeepTheSpawnAreaFreeAndLeaveRowsToClear) {
    const std::string fixed = "0123456789:;<=>?";
    // Empty cells that a piece entering at the top can get to, cell by cell.
    bool reached[WELL_ROWS + 2][WELL_COLUMNS + 2] = {};
    reached[1][8] = true;
    for (bool grew = true; grew;) {
        grew = false;
        for (int r = 1; r <= WELL_ROWS; r++) {
            for (int c = 1; c <= WELL_COLUMNS; c++) {
                const bool next = reached[r - 1][c] || reached[r + 1][c] || reached[r][c - 1] ||
                                  reached[r][c + 1];
                if (!reached[r][c] && next && well[r - 1][c - 1].value == 0) {
                    reached[r][c] = grew = true;
                }
            }
        }
    }
    int clearable = 0;
    for (int r = 0; r < WELL_ROWS; r++) {
        const std::string row = Well_Row(r);
        EXPECT_EQ(row.find_first_not_of(r < WELL_ROWS - 1 ? "." + fixed : fixed), row.npos) << row;
        EXPECT_TRUE(fixed.find(row.front()) != fixed.npos && fixed.find(row.back()) != fixed.npos);
        EXPECT_TRUE(r > 4 || row.substr(7, 4) == "....") << r;  // pieces enter and drop
        // A row can be cleared when every empty cell of it can be reached from the top.
        bool all_reached = row.find('.') != row.npos;
        for (int c = 0; c < WELL_COLUMNS; c++) {
            all_reached = all_reached && (row[c] != '.' || reached[r + 1][c + 1]);
        }
        clearable += all_reached;
    }
    EXPECT_GE(clearable, 20);
}

INSTANTIATE_TEST_SUITE_P(All, ShippedLayouts, ::testing::Range(0, PLAYFIELD_COUNT),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "playf" + std::to_string(info.param + 1);
                         });

}  // namespace
