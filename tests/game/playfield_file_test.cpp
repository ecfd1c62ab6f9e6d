#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "game/playfield_file.h"
#include "game/well.h"
#include "platform/headless/control.h"
#include "support/game_rules.h"

namespace {

// Taken while the program's static objects are built, before any test touches the well.
const WellGrid well_at_start = well;

// A valid layout, with `rows` replacing the rows from `first` on.
std::string Layout(int first = 0, const std::vector<std::string>& rows = {}) {
    std::string text;
    for (int row = 0; row < WELL_ROWS; row++) {
        int index = row - first;
        if (index >= 0 && index < int(rows.size())) {
            text += rows[index];
        } else {
            text += row == WELL_ROWS - 1 ? "222222222222222222" : "1................1";
        }
        text += '\n';
    }
    return text;
}

std::vector<int> Row_Values(int row, int count = WELL_COLUMNS) {
    std::vector<int> values;
    for (int column = 0; column < count; column++) {
        values.push_back(well[row][column].value);
    }
    return values;
}

class PlayfieldFile : public ::testing::Test {
  protected:
    void SetUp() override {
        Reset_Game_Rules();
        platform::headless::reset();
        dir = Make_Scratch_Directory();
        platform::headless::set_data_dirs({dir});
    }
    void TearDown() override {
        platform::headless::reset();
        Remove_Scratch_Directory(dir);
    }

    void Write(int file_number, const std::string& text) {
        ASSERT_TRUE(Write_Text_File(dir + "/playf" + std::to_string(file_number) + ".xpf", text));
    }

    std::string dir;
};

TEST(WellAtStart, IsAPlainWalledWellWithPositions) {
    for (int row = 0; row < WELL_ROWS; row++) {
        for (int column = 0; column < WELL_COLUMNS; column++) {
            const Cell& cell = well_at_start[row][column];
            EXPECT_EQ(cell.x, column * 16);
            EXPECT_EQ(cell.y, row * 16);
            bool edge = row == WELL_ROWS - 1 || column == 0 || column == WELL_COLUMNS - 1;
            EXPECT_EQ(cell.value, edge ? (row == WELL_ROWS - 1 ? CELL_FLOOR : CELL_WALL) : 0);
        }
    }
}

TEST_F(PlayfieldFile, NumbersPickTheFileAndEveryCellIsRewritten) {
    Write(16, Layout(5, {"1...9............1"}));
    Write(1, Layout(5, {"1...:............1"}));
    for (auto& row : well) {
        for (Cell& cell : row) {
            cell = Cell{-5, -5, 9};
        }
    }
    EXPECT_EQ(Load_Playfield(20), 1);  // 16 and up mean the last file
    EXPECT_EQ(well[5][4].value, 25);
    for (int row = 0; row < WELL_ROWS; row++) {
        for (int column = 0; column < WELL_COLUMNS; column++) {
            EXPECT_EQ(well[row][column].x, column * 16);
            EXPECT_EQ(well[row][column].y, row * 16);
        }
    }
    EXPECT_EQ(Row_Values(25), std::vector<int>(18, 18));
    EXPECT_EQ(Load_Playfield(0), 1);
    EXPECT_EQ(well[5][4].value, 26);
}

TEST_F(PlayfieldFile, CharactersGiveEmptyOrFixedCells) {
    std::string odd = "0-.19:?@~";
    odd += char(0xC1);  // bytes above 127 count as below "0"
    Write(3, Layout(2, {"1000000000000000011", ".?.?.?.?.?.?.?.?.?", odd}));
    ASSERT_EQ(Load_Playfield(2), 1);
    // 19 characters: columns 0 and 17 fixed, the 19th ignored rather than spilling over.
    std::vector<int> walls(18, 0);
    walls[0] = walls[17] = 17;
    EXPECT_EQ(Row_Values(2), walls);
    EXPECT_EQ(Row_Values(3, 4), (std::vector<int>{0, 31, 0, 31}));
    EXPECT_EQ(Row_Values(4, 11), (std::vector<int>{0, 0, 0, 17, 25, 26, 31, 31, 31, 0, 0}));
}

TEST_F(PlayfieldFile, WordsNotLinesMakeTheRowsAndShortOnesLeaveColumnsEmpty) {
    std::string longest(300, '1');
    longest[18] = '.';
    std::string text = "1..5.............1 \t1.......6........1\n" +
                       Layout(2, {"1.........?.....1?", "11", longest}).substr(2 * 19);
    text += "199999999999999991 trailing words\n";
    Write(4, text);
    ASSERT_EQ(Load_Playfield(3), 1);
    EXPECT_EQ(well[0][3].value, 21);
    EXPECT_EQ(well[1][8].value, 22);
    std::vector<int> short_row(18, 0);  // nothing left over from the longer word before it
    short_row[0] = short_row[1] = 17;
    EXPECT_EQ(Row_Values(3), short_row);
    EXPECT_EQ(Row_Values(4), std::vector<int>(18, 17));
    EXPECT_EQ(well[5][5].value, 0);  // a long word is still one row
    EXPECT_EQ(Row_Values(25), std::vector<int>(18, 18));
}

TEST_F(PlayfieldFile, AMissingOrShortFileLeavesTheWellAsItWas) {
    Write(6, Layout(0, {"1.....:::........1"}));
    ASSERT_EQ(Load_Playfield(5), 1);
    WellGrid loaded = well;

    EXPECT_EQ(Load_Playfield(6), 0);  // there is no playf7.xpf
    EXPECT_EQ(0, std::memcmp(&loaded, &well, sizeof well));
    std::string twenty_five = Layout().substr(0, 25 * 19);
    for (const std::string& content : {std::string(), std::string(" \n\t"), twenty_five}) {
        Write(8, content);
        EXPECT_EQ(Load_Playfield(7), 0);
        EXPECT_EQ(0, std::memcmp(&loaded, &well, sizeof well));
    }
    Write(8, twenty_five + "1");  // a 26th word of one character is enough
    EXPECT_EQ(Load_Playfield(7), 1);
    EXPECT_EQ(Row_Values(25, 2), (std::vector<int>{17, 0}));
}

}  // namespace
