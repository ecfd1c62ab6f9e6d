#include "support/play_watch.h"

#include "game/line_clear.h"

namespace {

void Read_Counters(int* out) {
    const int now[5] = {score, lines_total, clears_of_3, clears_of_4, clears_of_6};
    for (int i = 0; i < 5; i++) {
        out[i] = now[i];
    }
}

int Deepest_Full_Row() {
    int deepest = -1;
    for (int i = 0; i < full_row_count && i < 8; i++) {
        deepest = full_rows[i] > deepest ? full_rows[i] : deepest;
    }
    return deepest;
}

bool Is_Listed_Full_Row(int row) {
    for (int i = 0; i < full_row_count && i < 8; i++) {
        if (full_rows[i] == row) {
            return true;
        }
    }
    return false;
}

bool Row_Is_Full(int row) {
    bool piece_cell = false;
    for (const Cell& cell : well[row]) {
        if (cell.value == CELL_EMPTY) {
            return false;
        }
        piece_cell = piece_cell || Is_Piece_Cell(cell.value);
    }
    return piece_cell;
}

std::string Where(int row, int column) {
    return "row " + std::to_string(row) + " column " + std::to_string(column);
}

}  // namespace

void PlayWatch::start() {
    well_ = well;
    piece_ = piece;
    Read_Counters(counters_);
    clear_phase_ = clear_phase;
    deepest_full_row_ = Deepest_Full_Row();
}

std::string PlayWatch::check() {
    std::string broken;
    // What the last update may have done to the well.
    const bool locked = clear_phase_ == CLEAR_NONE &&
                        (piece_.state == PIECE_LANDED || piece_.state == PIECE_LOCK) &&
                        piece.state == PIECE_SPAWN;
    for (int row = 0; row < WELL_ROWS && broken.empty(); row++) {
        for (int column = 0; column < WELL_COLUMNS && broken.empty(); column++) {
            const int was = well_[row][column].value;
            const int is = well[row][column].value;
            if (is < 0 || is > CELL_LAST_IMAGE) {
                broken = Where(row, column) + " holds " + std::to_string(is);
            } else if (was == is) {
                continue;
            } else if (Is_Fixed_Cell(was) || Is_Fixed_Cell(is)) {
                broken = Where(row, column) + ": fixed cell changed";
            } else if (was == CELL_EMPTY && locked && is == piece_.body.image) {
                continue;
            } else if (clear_phase_ == CLEAR_START && is == CELL_EMPTY && Is_Listed_Full_Row(row)) {
                continue;
            } else if (clear_phase_ == CLEAR_COLLAPSE && row <= deepest_full_row_) {
                continue;
            } else {
                broken = Where(row, column) + " went from " + std::to_string(was) + " to " +
                         std::to_string(is);
            }
        }
    }
    // The cells a lock wrote, where the piece came to rest, were all empty before.
    if (broken.empty() && locked) {
        const int top = Pixel_To_Cell(piece.y);
        const int left = Pixel_To_Cell(piece.x);
        for (int r = 0; r < SHAPE_SIZE; r++) {
            for (int c = 0; c < SHAPE_SIZE; c++) {
                const int row = top + r, column = left + c;
                if (piece.body.grid[r][c] && row >= 0 && row < WELL_ROWS && column >= 0 &&
                    column < WELL_COLUMNS && well_[row][column].value != CELL_EMPTY) {
                    broken = "the piece came to rest on " + Where(row, column);
                }
            }
        }
    }
    int counters[5];
    Read_Counters(counters);
    const char* names[5] = {"score", "lines", "clears of 3", "clears of 4", "clears of 6"};
    for (int i = 0; i < 5 && broken.empty(); i++) {
        if (counters[i] < counters_[i]) {
            broken = std::string(names[i]) + " fell";
        }
    }
    const int rise = counters[1] - counters_[1];
    if (broken.empty() && rise > 0) {
        bool rows_full = full_row_count == rise;
        for (int i = 0; i < full_row_count && i < 8 && rows_full; i++) {
            rows_full = Row_Is_Full(full_rows[i]);
        }
        if (clear_phase != CLEAR_START || !rows_full) {
            broken = "lines rose by " + std::to_string(rise) + " with " +
                     std::to_string(full_row_count) + " full rows found";
        }
    }
    start();
    return broken;
}
