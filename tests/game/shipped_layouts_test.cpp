#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/falling_piece.h"
#include "game/playfield_file.h"
#include "game/well.h"
#include "input/input_device.h"
#include "platform/headless/control.h"
#include "support/game_rules.h"

namespace {

class ShippedLayouts : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        Reset_Game_Rules();
        platform::headless::reset();
        platform::headless::set_data_dirs({CELLSTORM_SOURCE_DIR "/assets/playfields"});
        for (auto& row : well) {
            for (Cell& cell : row) {
                cell.value = 9;
            }
        }
        ASSERT_EQ(Load_Playfield(GetParam()), 1);
        layout = well;
    }
    void TearDown() override { platform::headless::reset(); }

    WellGrid layout;
};

// Empty cells that a piece entering at the top can get to, cell by cell.
std::vector<std::vector<bool>> Reachable_From_Spawn(const WellGrid& grid) {
    std::vector<std::vector<bool>> seen(WELL_ROWS, std::vector<bool>(WELL_COLUMNS, false));
    std::vector<std::pair<int, int>> open = {{0, 7}};
    seen[0][7] = true;
    while (!open.empty()) {
        auto [row, column] = open.back();
        open.pop_back();
        const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const auto& step : steps) {
            int r = row + step[0];
            int c = column + step[1];
            if (r >= 0 && r < WELL_ROWS && c >= 0 && c < WELL_COLUMNS && !seen[r][c] &&
                grid[r][c].value == 0) {
                seen[r][c] = true;
                open.push_back({r, c});
            }
        }
    }
    return seen;
}

TEST_P(ShippedLayouts, ClosesTheWellAndKeepsTheSpawnAreaFree) {
    for (int row = 0; row < WELL_ROWS; row++) {
        EXPECT_GE(layout[row][0].value, CELL_FIXED) << "left, row " << row;
        EXPECT_GE(layout[row][WELL_COLUMNS - 1].value, CELL_FIXED) << "right, row " << row;
        for (int column = 0; column < WELL_COLUMNS; column++) {
            int value = layout[row][column].value;
            EXPECT_TRUE(value == 0 || (value >= 17 && value <= 31)) << row << "," << column;
        }
    }
    for (int column = 0; column < WELL_COLUMNS; column++) {
        EXPECT_GE(layout[WELL_ROWS - 1][column].value, CELL_FIXED) << "floor, column " << column;
    }
    for (int row = 0; row < 4; row++) {
        for (int column = 7; column <= 10; column++) {
            EXPECT_EQ(layout[row][column].value, 0) << row << "," << column;
        }
    }
}

TEST_P(ShippedLayouts, HasRowsThatPiecesCanFill) {
    // A row can be cleared when every one of its empty cells can be reached from the top.
    std::vector<std::vector<bool>> reachable = Reachable_From_Spawn(layout);
    int clearable = 0;
    for (int row = 0; row < WELL_ROWS; row++) {
        bool has_room = false;
        bool all_reachable = true;
        for (int column = 0; column < WELL_COLUMNS; column++) {
            if (layout[row][column].value == 0) {
                has_room = true;
                all_reachable = all_reachable && reachable[row][column];
            }
        }
        if (has_room && all_reachable) {
            clearable++;
        }
    }
    EXPECT_GE(clearable, 20);
}

TEST_P(ShippedLayouts, EveryShapeEntersAndDropsClearOfTheSpawnRows) {
    for (int shape = 0; shape < SHAPE_TABLE_SIZE; shape++) {
        well = layout;
        Place_Piece(shape, SPAWN_X, SPAWN_Y, PIECE_FALLING);
        EXPECT_EQ(Piece_Collides(&piece), 0) << "shape " << shape;
        piece.speed = 12;
        input_state = InputState{};
        for (int update = 0; update < 100 && piece.state != PIECE_SPAWN; update++) {
            Update_Play(&piece);
        }
        ASSERT_EQ(piece.state, PIECE_SPAWN) << "shape " << shape;
        EXPECT_GE(piece.y, 4 * CELL_SIZE) << "shape " << shape;
    }
}

INSTANTIATE_TEST_SUITE_P(All, ShippedLayouts, ::testing::Range(0, PLAYFIELD_COUNT),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "playf" + std::to_string(info.param + 1);
                         });

}  // namespace
