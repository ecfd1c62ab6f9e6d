// Reading layout files, whatever they hold, and the sixteen that ship with the game.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "game/playfield_file.h"
#include "game/well.h"
#include "platform/headless/control.h"
#include "support/game_rules.h"

namespace {

// A valid layout, with `rows` replacing the rows from `first` on.
std::string Layout(int first = 0, const std::vector<std::string>& rows = {}) {
    std::string text;
    for (int row = 0; row < WELL_ROWS; row++) {
        const int i = row - first;
        text += i >= 0 && i < int(rows.size()) ? rows[i]
                : row == WELL_ROWS - 1         ? "222222222222222222"
                                               : "1................1";
        text += '\n';
    }
    return text;
}

bool Positions_Set() {
    for (int row = 0; row < WELL_ROWS; row++) {
        for (int column = 0; column < WELL_COLUMNS; column++) {
            if (well[row][column].x != column * 16 || well[row][column].y != row * 16) {
                return false;
            }
        }
    }
    return true;
}

class PlayfieldFile : public RulesTest {
  protected:
    void SetUp() override {
        RulesTest::SetUp();
        std::filesystem::create_directories(dir);
        platform::headless::set_data_dirs({dir});
    }
    void TearDown() override {
        std::filesystem::remove_all(dir);
        RulesTest::TearDown();
    }
    const std::string dir =
        (std::filesystem::temp_directory_path() / ("cellstorm-layouts-" + std::to_string(getpid())))
            .string();
    void Write(int file_number, const std::string& text) {
        std::ofstream(dir + "/playf" + std::to_string(file_number) + ".xpf", std::ios::binary)
            << text;
    }
};

TEST_F(PlayfieldFile, NumbersPickTheFileAndEveryCellIsRewritten) {
    Write(16, Layout(5, {"1...9............1"}));
    Write(1, Layout(5, {"1...:............1"}));
    for (auto& row : well) {
        for (Cell& cell : row) {
            cell = Cell{-5, -5, 9};
        }
    }
    EXPECT_EQ(Load_Playfield(20), 1);  // 16 and up mean the last file
    EXPECT_TRUE(Positions_Set());
    EXPECT_EQ(Well_Row(5) + Well_Row(25), "1...9............1222222222222222222");
    EXPECT_EQ(Load_Playfield(0), 1);
    EXPECT_EQ(Well_Row(5), "1...:............1");
}

TEST_F(PlayfieldFile, CharactersGiveEmptyOrFixedCellsAndWordsNotLinesMakeTheRows) {
    // 19 characters: the 19th is ignored rather than spilling over. Bytes above 127 count as
    // below "0", characters above "?" as "?".
    Write(3, Layout(2, {"1000000000000000011", ".?.?.?.?.?.?.?.?.?", "0-.19:?@~\xC1"}));
    ASSERT_EQ(Load_Playfield(2), 1);
    EXPECT_EQ(Well_Row(2), "1................1");
    EXPECT_EQ(Well_Row(3), ".?.?.?.?.?.?.?.?.?");
    EXPECT_EQ(Well_Row(4), "...19:???.........");

    std::string longest(300, '1');
    longest[18] = '.';
    Write(4, "1..5.............1 \t1.......6........1\n" +
                 Layout(2, {"1.........?.....1?", "11", longest}).substr(2 * 19) +
                 "199999999999999991 trailing words\n");
    ASSERT_EQ(Load_Playfield(3), 1);
    EXPECT_EQ(Well_Row(0) + Well_Row(1), "1..5.............11.......6........1");
    // A short word leaves the rest of its row empty, a long one is still one row.
    EXPECT_EQ(Well_Row(3) + Well_Row(4), "11................111111111111111111");
    EXPECT_EQ(Well_Row(5) + Well_Row(25), "1................1222222222222222222");
}

TEST_F(PlayfieldFile, AMissingOrShortFileLeavesTheWellAsItWas) {
    Write(6, Layout(0, {"1.....:::........1"}));
    ASSERT_EQ(Load_Playfield(5), 1);
    const WellGrid loaded = well;
    EXPECT_EQ(Load_Playfield(6), 0);  // there is no playf7.xpf
    EXPECT_EQ(0, std::memcmp(&loaded, &well, sizeof well));
    const std::string twenty_five = Layout().substr(0, 25 * 19);
    for (const std::string& content : {std::string(), std::string(" \n\t"), twenty_five}) {
        Write(8, content);
        EXPECT_EQ(Load_Playfield(7), 0);
        EXPECT_EQ(0, std::memcmp(&loaded, &well, sizeof well));
    }
    Write(8, twenty_five + "1");  // a 26th word of one character is enough
    EXPECT_EQ(Load_Playfield(7), 1);
    EXPECT_EQ(Well_Row(25), "1.................");
}

// The shipped layouts.
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
