// The well: 26 rows by 18 columns of 16 x 16 cells, row 0 on top, column 0 on the left.
#pragma once
#include <array>

constexpr int WELL_ROWS = 26;
constexpr int WELL_COLUMNS = 18;
constexpr int CELL_SIZE = 16;

// Cell values: 0 empty, 1..15 a locked piece's image, 16..31 a fixed cell of the layout.
constexpr int CELL_EMPTY = 0;
constexpr int CELL_FIXED = 16;
constexpr int CELL_LAST_IMAGE = 31;

// The fixed cells of the well that exists before any layout has been read.
constexpr int CELL_WALL = 17;
constexpr int CELL_FLOOR = 18;

struct Cell {
    int x;  // pixel offset inside the well: column * 16
    int y;  // pixel offset inside the well: row * 16
    int value;
};

using WellGrid = std::array<std::array<Cell, WELL_COLUMNS>, WELL_ROWS>;

// well[row][column]. It holds a plain walled well from program start (see Walled_Well), so a
// game can run before any layout has been loaded.
extern WellGrid well;

// A plain walled well: side columns and bottom row fixed, the rest empty, every x/y set.
constexpr WellGrid Walled_Well() {
    WellGrid grid{};
    for (int row = 0; row < WELL_ROWS; row++) {
        for (int column = 0; column < WELL_COLUMNS; column++) {
            Cell& cell = grid[row][column];
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
    return grid;
}

// A row or column from a pixel offset, rounding toward minus infinity.
inline int Pixel_To_Cell(int pixel) {
    return pixel >= 0 ? pixel / CELL_SIZE : -((CELL_SIZE - 1 - pixel) / CELL_SIZE);
}

// Occupied means value > 0. Anything outside the grid counts as occupied, so a well that a bad
// layout left open still holds the piece inside.
bool Well_Occupied(int row, int column);

inline bool Is_Fixed_Cell(int value) {
    return value >= CELL_FIXED;
}
inline bool Is_Piece_Cell(int value) {
    return value > CELL_EMPTY && value < CELL_FIXED;
}
