#include "game/well.h"

Cell well[WELL_ROWS][WELL_COLUMNS];

namespace {
// Gives the well its walls before anything else can look at it.
[[maybe_unused]] const bool well_ready = (Reset_Well(), true);
}  // namespace

void Reset_Well() {
    for (int row = 0; row < WELL_ROWS; row++) {
        for (int column = 0; column < WELL_COLUMNS; column++) {
            Cell& cell = well[row][column];
            cell.x = column * CELL_SIZE;
            cell.y = row * CELL_SIZE;
            if (row == WELL_ROWS - 1) {
                cell.value = CELL_FLOOR;
            } else if (column == 0 || column == WELL_COLUMNS - 1) {
                cell.value = CELL_WALL;
            } else {
                cell.value = CELL_EMPTY;
            }
        }
    }
}

bool Well_Occupied(int row, int column) {
    if (row < 0 || row >= WELL_ROWS || column < 0 || column >= WELL_COLUMNS) {
        return true;
    }
    return well[row][column].value > CELL_EMPTY;
}
