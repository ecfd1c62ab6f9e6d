#include "app/winmain.h"
#include "game/line_clear.h"
#include "game/well.h"

std::string Game_Summary() {
    static const char digits[] = "0123456789abcdefghijklmnopqrstuv";
    std::string rows;
    for (int row = 0; row < WELL_ROWS; ++row) {
        rows += row > 0 ? "/" : "";
        for (int column = 0; column < WELL_COLUMNS; ++column) {
            const int value = well[row][column].value;
            rows += value >= 0 && value < 32 ? digits[value] : '?';
        }
    }
    return "score=" + std::to_string(score) + " lines=" + std::to_string(lines_total) +
           " level=" + std::to_string(level) + " well=" + rows;
}
