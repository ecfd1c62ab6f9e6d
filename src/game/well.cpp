#include "game/well.h"

// Constant-initialised: walled before any code of the program runs.
WellGrid well = Walled_Well();

bool Well_Occupied(int row, int column) {
    if (row < 0 || row >= WELL_ROWS || column < 0 || column >= WELL_COLUMNS) {
        return true;
    }
    return well[row][column].value > CELL_EMPTY;
}
