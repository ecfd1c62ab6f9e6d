#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/playfield_file.h"
#include "game/well.h"
#include "platform/headless/control.h"
#include "support/game_rules.h"

namespace {

// Taken while the program's static objects are built, before any test touches the well.
const WellGrid well_at_start = well;

// A valid layout: stone sides and floor, with `rows` replacing rows from `first` on.
std::string Layout(int first = 0, const std::vector<std::string>& rows = {}) {
    std::string text;
    for (int row = 0; row < WELL_ROWS; row++) {
        int index = row - first;
        if (index >= 0 && index < int(rows.size())) {
            text += rows[index];
        } else if (row == WELL_ROWS - 1) {
            text += "222222222222222222";
        } else {
            text += "1................1";
        }
        text += '\n';
    }
    return text;
}

class PlayfieldFile : public ::testing::Test {
  protected:
    void SetUp() override {
        Reset_Game_Rules();
        platform::headless::reset();
        dir = Make_Scratch_Directory();
        ASSERT_FALSE(dir.empty());
        platform::headless::set_data_dirs({dir});
    }
    void TearDown() override {
        platform::headless::reset();
        Remove_Scratch_Directory(dir);
    }

    void Write(int file_number, const std::string& text) {
        ASSERT_TRUE(Write_Text_File(dir + "/playf" + std::to_string(file_number) + ".xpf", text));
    }

    // Scribbles over the well so that a load has to set every field again.
    static void Scribble() {
        for (auto& row : well) {
            for (Cell& cell : row) {
                cell = Cell{-5, -5, 9};
            }
        }
    }

    static bool Well_Equals(const WellGrid& other) {
        for (int row = 0; row < WELL_ROWS; row++) {
            for (int column = 0; column < WELL_COLUMNS; column++) {
                const Cell& a = well[row][column];
                const Cell& b = other[row][column];
                if (a.x != b.x || a.y != b.y || a.value != b.value) {
                    return false;
                }
            }
        }
        return true;
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
            EXPECT_EQ(cell.value >= CELL_FIXED, edge) << row << "," << column;
            EXPECT_TRUE(cell.value == 0 || cell.value >= CELL_FIXED);
        }
    }
}

TEST_F(PlayfieldFile, NumbersFromSixteenUpLoadTheLastFile) {
    Write(16, Layout(5, {"1...9............1"}));
    Write(1, Layout(5, {"1...:............1"}));
    Scribble();
    EXPECT_EQ(Load_Playfield(20), 1);
    EXPECT_EQ(well[5][4].value, 25);
    EXPECT_EQ(well[5][5].value, 0);
    EXPECT_EQ(well[24][0].value, 17);
    EXPECT_EQ(well[25][9].value, 18);
    EXPECT_EQ(Load_Playfield(0), 1);
    EXPECT_EQ(well[5][4].value, 26);
    EXPECT_EQ(Load_Playfield(15), 1);
    EXPECT_EQ(well[5][4].value, 25);
}

TEST_F(PlayfieldFile, EveryCellGetsItsPixelOffsets) {
    Write(2, Layout());
    Scribble();
    ASSERT_EQ(Load_Playfield(1), 1);
    for (int row = 0; row < WELL_ROWS; row++) {
        for (int column = 0; column < WELL_COLUMNS; column++) {
            EXPECT_EQ(well[row][column].x, column * 16);
            EXPECT_EQ(well[row][column].y, row * 16);
        }
    }
}

TEST_F(PlayfieldFile, CharactersGiveEmptyOrFixedCells) {
    std::string odd = "0-.19:?@~";
    odd += char(0xC1);  // a byte above 127 counts as below "0"
    odd += "1111111";
    Write(3, Layout(2, {
                           "1000000000000000011",  // 19 characters: the last is ignored
                           ".?.?.?.?.?.?.?.?.?",
                           odd,
                       }));
    ASSERT_EQ(Load_Playfield(2), 1);
    EXPECT_EQ(well[2][0].value, 17);
    EXPECT_EQ(well[2][17].value, 17);
    for (int column = 1; column < 17; column++) {
        EXPECT_EQ(well[2][column].value, 0);
    }
    for (int column = 0; column < 18; column++) {
        EXPECT_EQ(well[3][column].value, column % 2 ? 31 : 0) << column;
    }
    std::vector<int> values;
    for (int column = 0; column < 10; column++) {
        values.push_back(well[4][column].value);
    }
    EXPECT_EQ(values, (std::vector<int>{0, 0, 0, 17, 25, 26, 31, 31, 31, 0}));
    EXPECT_EQ(well[5][1].value, 0);  // the row after the long word is still its own
}

TEST_F(PlayfieldFile, WordsNotLinesMakeTheRows) {
    std::string text = Layout();
    // Two rows on one line, and everything after the 26th word ignored.
    std::string first_two = "1................1\n1................1\n";
    text.replace(0, first_two.size(), "1..5.............1 \t1.......6........1\n");
    text.insert(text.size() - 19, "\n\n   ");
    text += "199999999999999991 trailing words\n";
    Write(4, text);
    ASSERT_EQ(Load_Playfield(3), 1);
    EXPECT_EQ(well[0][3].value, 21);
    EXPECT_EQ(well[1][8].value, 22);
    EXPECT_EQ(well[25][5].value, 18);
    EXPECT_EQ(well[24][5].value, 0);
}

TEST_F(PlayfieldFile, ShortAndOverlongWords) {
    std::string longest(300, '1');
    longest[18] = '.';
    Write(5, Layout(6, {"1.........?.....1?", "11", longest, "1................1"}));
    ASSERT_EQ(Load_Playfield(4), 1);
    EXPECT_EQ(well[7][0].value, 17);
    EXPECT_EQ(well[7][1].value, 17);
    for (int column = 2; column < 18; column++) {  // nothing left over from the longer row
        EXPECT_EQ(well[7][column].value, 0) << column;
    }
    for (int column = 0; column < 18; column++) {
        EXPECT_EQ(well[8][column].value, 17);
    }
    EXPECT_EQ(well[9][5].value, 0);  // a long word is still one row
    EXPECT_EQ(well[25][0].value, 18);
}

TEST_F(PlayfieldFile, AMissingOrShortFileLeavesTheWellAsItWas) {
    Write(6, Layout(0, {"1.....:::........1"}));
    ASSERT_EQ(Load_Playfield(5), 1);
    WellGrid loaded = well;

    EXPECT_EQ(Load_Playfield(6), 0);  // no playf7.xpf
    EXPECT_TRUE(Well_Equals(loaded));

    std::string text = Layout();
    std::string twenty_five = text.substr(0, 25 * 19);
    for (const std::string& content : {std::string(), std::string(" \n\t"), twenty_five}) {
        Write(8, content);
        EXPECT_EQ(Load_Playfield(7), 0);
        EXPECT_TRUE(Well_Equals(loaded));
    }
    Write(8, twenty_five + "1");  // a 26th word of one character is enough
    EXPECT_EQ(Load_Playfield(7), 1);
    EXPECT_EQ(well[25][0].value, 17);
    EXPECT_EQ(well[25][1].value, 0);
}

}  // namespace
