#include "game/line_clear.h"

#include "game/piece.h"
#include "game/well.h"
#include "sound/sound.h"

int clear_phase = CLEAR_NONE;
int full_rows[MAX_FULL_ROWS];
int full_row_count = 0;
int flash_tick = 0;
int flash_count = 0;

int score = 0;
int level = 0;
int lines_total = 0;
int level_lines = 0;
int clears_of_3 = 0;
int clears_of_4 = 0;
int clears_of_6 = 0;

namespace {

// Full: nothing empty and at least one piece cell; a row of fixed cells alone never counts.
bool Row_Is_Full(int row) {
    bool has_piece_cell = false;
    for (int column = 0; column < WELL_COLUMNS; column++) {
        int value = well[row][column].value;
        if (value == CELL_EMPTY) {
            return false;
        }
        if (Is_Piece_Cell(value)) {
            has_piece_cell = true;
        }
    }
    return has_piece_cell;
}

int Find_Full_Rows() {
    full_row_count = 0;
    // Only eight fit the list; any further full rows stay and are found by a later lock.
    for (int row = 0; row < WELL_ROWS && full_row_count < MAX_FULL_ROWS; row++) {
        if (Row_Is_Full(row)) {
            full_rows[full_row_count] = row;
            full_row_count++;
            lines_total++;
        }
    }
    return full_row_count;
}

// Only Find_Full_Rows fills the list; these checks keep a damaged one inside the well.
int Listed_Count() {
    return full_row_count < 0 ? 0 : full_row_count > MAX_FULL_ROWS ? MAX_FULL_ROWS : full_row_count;
}

bool Is_Well_Row(int row) {
    return row >= 0 && row < WELL_ROWS;
}

void Empty_Full_Rows() {
    for (int i = 0; i < Listed_Count(); i++) {
        if (!Is_Well_Row(full_rows[i])) {
            continue;
        }
        for (Cell& cell : well[full_rows[i]]) {
            if (!Is_Fixed_Cell(cell.value)) {
                cell.value = CELL_EMPTY;
            }
        }
    }
}

// Drops everything above `cleared_row` by one row. Fixed cells never move; a cell under a fixed
// one is emptied, and one resting on a fixed one is overwritten from above.
// KEPT: so a cell the clear would move onto a fixed cell is lost, not stacked on it.
void Collapse_Row(int cleared_row) {
    for (int r = cleared_row - 1; r >= 0; r--) {
        for (int column = 0; column < WELL_COLUMNS; column++) {
            Cell& upper = well[r][column];
            Cell& lower = well[r + 1][column];
            if (Is_Fixed_Cell(lower.value)) {
                continue;
            }
            if (Is_Fixed_Cell(upper.value)) {
                lower.value = CELL_EMPTY;
            } else {
                lower.value = upper.value;
                upper.value = CELL_EMPTY;
            }
        }
    }
    for (Cell& cell : well[0]) {
        if (!Is_Fixed_Cell(cell.value)) {
            cell.value = CELL_EMPTY;
        }
    }
}

void Credit_Clear() {
    int n = full_row_count;
    if (n == 3) {
        clears_of_3++;
    } else if (n == 4) {
        clears_of_4++;
    } else if (n == 6) {
        clears_of_6++;
    }
    // Lower rows score more; speed and level are those before any level-up of this clear.
    int top_row = n > 0 ? full_rows[0] : 0;
    score += 5 * piece.speed + 10 * top_row + 10 * level + 100 * n;
    level_lines += n;
    if (level_lines >= LINES_PER_LEVEL) {
        level_lines %= LINES_PER_LEVEL;
        level++;
        Play_Sound(sound_next_level, 0, 0, 0, 0);
        piece.speed++;
        if (piece.speed > 8) {
            piece.speed = TOP_SPEED;
        }
    }
}

void Advance_Clearing() {
    switch (clear_phase) {
        case CLEAR_START:
            Empty_Full_Rows();
            clear_phase = CLEAR_FLASH;
            flash_tick = 0;
            flash_count = 0;
            Play_Sound(sound_line, 0, 0, 0, 0);
            break;
        case CLEAR_FLASH:
            flash_tick++;
            if (flash_tick >= FLASH_TICKS) {
                flash_count++;
                if (flash_count < FLASH_COUNT) {
                    flash_tick = 0;
                } else {
                    clear_phase = CLEAR_COLLAPSE;
                }
            }
            break;
        case CLEAR_COLLAPSE:
            for (int i = 0; i < Listed_Count(); i++) {
                if (Is_Well_Row(full_rows[i])) {
                    Collapse_Row(full_rows[i]);
                }
            }
            Credit_Clear();
            clear_phase = CLEAR_NONE;
            break;
        default:
            break;
    }
}

}  // namespace

int Process_Lines(int mode) {
    if (mode == 1) {
        return Find_Full_Rows();
    }
    Advance_Clearing();
    return 1;
}
