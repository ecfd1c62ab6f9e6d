#include "game/falling_piece.h"

#include "common/game_state.h"
#include "game/line_clear.h"
#include "game/well.h"
#include "input/input_device.h"
#include "sound/sound.h"

int rotate_delay = 0;
int move_repeat = 0;
int last_dx = 0;

namespace {

int Cell_Row(const Piece* p, int r, int offset) {
    return Pixel_To_Cell(p->y + CELL_SIZE * r + offset);
}

int Cell_Column(const Piece* p, int c) {
    return Pixel_To_Cell(p->x + CELL_SIZE * c);
}

// Lowest cell of grid column c, or -1 when the column is empty.
int Lowest_Cell(const Piece* p, int c) {
    for (int r = SHAPE_SIZE - 1; r >= 0; r--) {
        if (p->body.grid[r][c]) {
            return r;
        }
    }
    return -1;
}

// Rightmost (direction > 0) or leftmost cell of grid row r, or -1 when the row is empty.
int Outer_Cell(const Piece* p, int r, int direction) {
    int outer = -1;
    for (int c = 0; c < SHAPE_SIZE; c++) {
        if (p->body.grid[r][c] && (direction > 0 || outer < 0)) {
            outer = c;
        }
    }
    return outer;
}

void Rotate_From_Input(Piece* p, uint32_t buttons) {
    // The delay is set whether or not the turn fitted; clockwise wins when both are held.
    if ((buttons & INPUT_BUTTON_2) && rotate_delay == 0) {
        Rotate_Piece(p, ROTATE_CLOCKWISE);
        rotate_delay = ROTATE_DELAY;
    } else if ((buttons & INPUT_BUTTON_1) && rotate_delay == 0) {
        Rotate_Piece(p, ROTATE_COUNTER_CLOCKWISE);
        rotate_delay = ROTATE_DELAY;
    } else if (rotate_delay > 0) {
        rotate_delay--;
    }
}

// One column to the side. Only the outermost cell of each grid row in that direction is probed,
// in the row holding its top pixel.
// KEPT: so a wall cell in the gap of a "#.#" row never stops the step; the piece passes round it.
void Shift(Piece* p, int direction) {
    int old_x = p->x;
    p->x += direction * CELL_SIZE;
    for (int r = 0; r < SHAPE_SIZE; r++) {
        int outer = Outer_Cell(p, r, direction);
        if (outer >= 0 && Well_Occupied(Cell_Row(p, r, 0), Cell_Column(p, outer))) {
            p->x = old_x;
        }
    }
}

void Shift_From_Input(Piece* p, int dx) {
    move_repeat++;
    // From rest a step comes at once; while a direction is held, every MOVE_REPEAT updates.
    if (move_repeat < MOVE_REPEAT && last_dx != 0) {
        return;
    }
    if (dx > 0) {
        Shift(p, 1);
    } else if (dx < 0) {
        Shift(p, -1);
    }
    move_repeat = 0;
    last_dx = dx;
}

// Probes the lowest cell of each grid column in the row holding its bottom pixel; every hit puts
// the piece on the row boundary above it and lands it. True when anything was hit.
bool Land_On_Support(Piece* p) {
    bool landed = false;
    for (int c = 0; c < SHAPE_SIZE; c++) {
        int r = Lowest_Cell(p, c);
        if (r >= 0 && Well_Occupied(Cell_Row(p, r, CELL_SIZE - 1), Cell_Column(p, c))) {
            p->y &= ~(CELL_SIZE - 1);
            p->state = PIECE_LANDED;
            p->lock_delay = LOCK_DELAY;
            Play_Sound(sound_lock, 0, 0, 0, 0);
            landed = true;
        }
    }
    return landed;
}

void Fall(Piece* p, int dy) {
    // A shift onto the edge of a block can leave the piece's lower cells overlapping it. Landing
    // it there first keeps a long step from carrying the piece through the block.
    if (Land_On_Support(p)) {
        return;
    }
    int step = dy > 0 ? p->speed + DOWN_BOOST : p->speed + dy;
    if (step > MAX_FALL_STEP) {
        step = MAX_FALL_STEP;
    }
    p->y += step;
    Land_On_Support(p);
}

// After the delay, looks at the row just below each column's lowest cell: the piece locks if
// anything is there, or falls again if the player moved it off its support.
void Run_Lock_Delay(Piece* p) {
    p->lock_delay--;
    if (p->lock_delay > 0) {
        return;
    }
    p->state = PIECE_FALLING;
    for (int c = 0; c < SHAPE_SIZE; c++) {
        int r = Lowest_Cell(p, c);
        if (r >= 0 && Well_Occupied(Cell_Row(p, r, CELL_SIZE + 7), Cell_Column(p, c))) {
            p->state = PIECE_LOCK;
            return;
        }
    }
}

// Calls visit(row, column) for each cell of the piece that lies inside the grid; a cell outside
// it is never looked at or written.
template <typename Visit>
void For_Cells_In_Well(const Piece* p, Visit visit) {
    int top = Pixel_To_Cell(p->y);
    int left = Pixel_To_Cell(p->x);
    for (int r = 0; r < SHAPE_SIZE; r++) {
        for (int c = 0; c < SHAPE_SIZE; c++) {
            int row = top + r;
            int column = left + c;
            if (p->body.grid[r][c] && row >= 0 && row < WELL_ROWS && column >= 0 &&
                column < WELL_COLUMNS) {
                visit(row, column);
            }
        }
    }
}

// True when a cell of the piece inside the grid sits on an occupied well cell.
bool Lock_Would_Overwrite(const Piece* p) {
    bool occupied = false;
    For_Cells_In_Well(
        p, [&occupied](int row, int column) { occupied = occupied || Well_Occupied(row, column); });
    return occupied;
}

void Lock(Piece* p) {
    // A piece that ended up inside a block is raised until it sits on it, so locking never
    // writes over a cell; the loop ends at the latest once every cell is above row 0.
    while (Lock_Would_Overwrite(p)) {
        p->y -= CELL_SIZE;
    }
    For_Cells_In_Well(p, [p](int row, int column) { well[row][column].value = p->body.image; });
    if (Process_Lines(1) > 0) {
        clear_phase = CLEAR_START;
    }
    p->state = PIECE_SPAWN;
}

}  // namespace

int Update_Play(Piece* p) {
    if (clear_phase != CLEAR_NONE) {
        Process_Lines(0);
        return 1;
    }
    if (p->state == PIECE_SPAWN) {
        Spawn_Piece(p);
        if (Piece_Collides(p)) {
            p->state = PIECE_BLOCKED;
            Play_Sound(sound_loser, 0, 0, 0, 0);
            game_state = FLOW_GAME_ENDING;
        } else {
            p->state = PIECE_FALLING;
        }
    }
    if (p->state == PIECE_FALLING || p->state == PIECE_LANDED) {
        Rotate_From_Input(p, input_state.buttons);
        Shift_From_Input(p, input_state.dx);
    }
    if (p->state == PIECE_FALLING) {
        Fall(p, input_state.dy);
    }
    if (p->state == PIECE_LANDED) {
        Run_Lock_Delay(p);
    }
    if (p->state == PIECE_LOCK) {
        Lock(p);
    }
    return 1;
}
