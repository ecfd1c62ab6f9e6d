// The one falling piece: its state, position, speed and working copy of its shape.
#pragma once
#include "game/shapes.h"

constexpr int PIECE_SPAWN = 0;    // no piece in play; the next update places one
constexpr int PIECE_FALLING = 1;  // falls each update; can be turned and shifted
constexpr int PIECE_LANDED = 2;   // resting; can still move while lock_delay runs
constexpr int PIECE_LOCK = 3;     // written into the well in this update
constexpr int PIECE_BLOCKED = 4;  // a new piece had no room: the game is over

// Where a new piece's box is placed: columns 7..10, rows 0..3.
constexpr int SPAWN_X = 112;
constexpr int SPAWN_Y = 0;

constexpr int ROTATE_CLOCKWISE = 0;
constexpr int ROTATE_COUNTER_CLOCKWISE = 1;

struct Piece {
    int state;
    int x;  // well pixel of the box's left edge, a multiple of 16
    int y;  // well pixel of the box's top edge; a multiple of 16 once landed
    int speed;
    int lock_delay;
    int shape;
    int next_shape;
    Shape body;  // grid turned in place by rotation
};

extern Piece piece;

// New-game set-up: state PIECE_SPAWN, speed from level, a current and a different next shape.
int Reset_Piece(Piece* p);

// Places the next shape at the top and chooses a new next shape. Returns the new shape.
int Spawn_Piece(Piece* p);

// 1 when a cell of the body overlaps an occupied well cell, probing the row of each cell's
// bottom pixel.
int Piece_Collides(Piece* p);

// Turns the body a quarter turn (ROTATE_CLOCKWISE or ROTATE_COUNTER_CLOCKWISE). 1 when turned,
// 0 when the turned body does not fit (the piece is then unchanged).
int Rotate_Piece(Piece* p, int direction);
