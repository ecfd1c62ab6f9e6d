// The sixteen shapes, the game types that choose which of them are dealt, and the random draw.
#pragma once

constexpr int SHAPE_SIZE = 4;
constexpr int SHAPE_TABLE_SIZE = 16;
// The eight-cell ring: accepted only one time in three when drawn as the next shape.
constexpr int SHAPE_RING = 15;

struct Shape {
    int image;                                   // block image and cell value of its cells
    unsigned char grid[SHAPE_SIZE][SHAPE_SIZE];  // [row][column], 1 where there is a cell
};

extern const Shape shape_table[SHAPE_TABLE_SIZE];

constexpr int GAME_CLASSIC = 0;  // "Classic": the seven four-cell shapes
constexpr int GAME_XTREME = 1;   // "Dorodo Veraviva!": all sixteen

extern int game_type;
// Shapes first_shape .. first_shape + shape_count - 1 are dealt.
extern int first_shape;
extern int shape_count;

// Types 0 and 1 set the dealt range; any other value leaves it as it was. Returns 1.
int Set_Game_Type(int type);

// One draw from the random generator: first_shape + R % shape_count.
int Random_Shape();

// The shape to show next after `shape`: never `shape` itself, and the ring only when a further
// draw is 0 modulo 3.
int Choose_Next_Shape(int shape);
