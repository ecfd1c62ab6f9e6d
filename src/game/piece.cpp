#include "game/piece.h"

#include "game/line_clear.h"
#include "game/well.h"

Piece piece;

int Reset_Piece(Piece* p) {
    p->state = PIECE_SPAWN;
    p->y = 0;
    p->speed = level + 2;
    p->lock_delay = 0;
    p->shape = Random_Shape();
    // The shape drawn here is never played: the first spawn promotes next_shape.
    do {
        p->next_shape = Random_Shape();
    } while (p->next_shape == p->shape);
    return 1;
}

int Spawn_Piece(Piece* p) {
    p->state = PIECE_FALLING;
    p->x = SPAWN_X;
    p->y = SPAWN_Y;
    p->lock_delay = 0;
    p->shape = p->next_shape;
    p->next_shape = Choose_Next_Shape(p->shape);
    p->body = shape_table[p->shape];
    return p->shape;
}

namespace {

// Overlap of a grid at the piece's position, each cell looked up by its bottom pixel.
bool Grid_Collides(const Piece* p, const unsigned char (&grid)[SHAPE_SIZE][SHAPE_SIZE]) {
    for (int r = 0; r < SHAPE_SIZE; r++) {
        for (int c = 0; c < SHAPE_SIZE; c++) {
            if (grid[r][c] && Well_Occupied(Pixel_To_Cell(p->y + CELL_SIZE * r + CELL_SIZE - 1),
                                            Pixel_To_Cell(p->x + CELL_SIZE * c))) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

int Piece_Collides(Piece* p) {
    return Grid_Collides(p, p->body.grid) ? 1 : 0;
}

int Rotate_Piece(Piece* p, int direction) {
    Shape turned = p->body;
    for (int r = 0; r < SHAPE_SIZE; r++) {
        for (int c = 0; c < SHAPE_SIZE; c++) {
            turned.grid[r][c] =
                direction == ROTATE_CLOCKWISE ? p->body.grid[3 - c][r] : p->body.grid[c][3 - r];
        }
    }
    // No nudge away from walls: a turn that does not fit where it is, is refused.
    if (Grid_Collides(p, turned.grid)) {
        return 0;
    }
    p->body = turned;
    return 1;
}
