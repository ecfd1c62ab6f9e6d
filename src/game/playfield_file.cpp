#include "game/playfield_file.h"

#include <cstdio>

#include "game/well.h"
#include "platform/diagnostics.h"
#include "platform/files.h"

int playfield_number = 0;

namespace {

// One row per word; characters past the 18th are ignored, missing ones leave the cell empty.
struct LayoutText {
    char rows[WELL_ROWS][WELL_COLUMNS];
};

bool Is_Blank(int ch) {
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\v' || ch == '\f';
}

// Reads the first 26 words. False when the file ends before the 26th.
bool Read_Layout_Words(std::FILE* file, LayoutText* text) {
    for (int row = 0; row < WELL_ROWS; row++) {
        for (char& ch : text->rows[row]) {
            ch = '0';
        }
        int ch = std::fgetc(file);
        while (ch != EOF && Is_Blank(ch)) {
            ch = std::fgetc(file);
        }
        if (ch == EOF) {
            return false;
        }
        for (int column = 0; ch != EOF && !Is_Blank(ch); column++) {
            if (column < WELL_COLUMNS) {
                text->rows[row][column] = char(ch);
            }
            ch = std::fgetc(file);
        }
    }
    return true;
}

// Above "0" is a fixed cell valued code - 32 ("1" 17 .. "?" 31); anything above "?" would name
// an image that does not exist, so it takes the last one. "0", ".", "-" and the bytes 128..255
// (signed, so below "0") are empty.
int Cell_Value(char ch) {
    signed char code = static_cast<signed char>(ch);
    if (code <= '0') {
        return CELL_EMPTY;
    }
    if (code > '?') {
        return CELL_LAST_IMAGE;
    }
    return code - 32;
}

}  // namespace

int Load_Playfield(int number) {
    if (number >= PLAYFIELD_COUNT) {
        number = PLAYFIELD_COUNT - 1;
    }
    char name[32];
    std::snprintf(name, sizeof name, "playf%d.xpf", number + 1);
    std::FILE* file = platform::open_data_file(name, "r");
    if (file == nullptr) {
        platform::report_data_file(name, "cannot be opened");
        return 0;
    }
    // The whole layout is read before the well changes, so a short file leaves it intact.
    LayoutText text;
    bool complete = Read_Layout_Words(file, &text) && !std::ferror(file);
    std::fclose(file);
    if (!complete) {
        platform::report_data_file(name, "is refused: it ends before the 26th row");
        return 0;
    }
    for (int row = 0; row < WELL_ROWS; row++) {
        for (int column = 0; column < WELL_COLUMNS; column++) {
            Cell& cell = well[row][column];
            cell.x = column * CELL_SIZE;
            cell.y = row * CELL_SIZE;
            cell.value = Cell_Value(text.rows[row][column]);
        }
    }
    return 1;
}
