#include "game/shapes.h"

#include "common/random.h"

// The grids are not normalised: the empty rows and columns are part of where a shape sits in
// its box, and rotation turns the whole box.
const Shape shape_table[SHAPE_TABLE_SIZE] = {
    {6, {{0, 0, 0, 0}, {1, 1, 1, 0}, {0, 1, 0, 0}, {0, 0, 0, 0}}},
    {1, {{0, 0, 0, 0}, {1, 1, 1, 0}, {1, 0, 0, 0}, {0, 0, 0, 0}}},
    {4, {{0, 0, 0, 0}, {1, 1, 1, 0}, {0, 0, 1, 0}, {0, 0, 0, 0}}},
    {5, {{0, 0, 0, 0}, {0, 1, 1, 0}, {1, 1, 0, 0}, {0, 0, 0, 0}}},
    {13, {{0, 0, 0, 0}, {1, 1, 0, 0}, {0, 1, 1, 0}, {0, 0, 0, 0}}},
    {11, {{0, 0, 0, 0}, {0, 0, 0, 0}, {1, 1, 1, 1}, {0, 0, 0, 0}}},
    {8, {{0, 0, 0, 0}, {0, 1, 1, 0}, {0, 1, 1, 0}, {0, 0, 0, 0}}},
    {2, {{0, 0, 0, 0}, {0, 0, 1, 0}, {0, 1, 0, 0}, {0, 0, 0, 0}}},
    {3, {{0, 0, 0, 0}, {0, 1, 1, 1}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
    {7, {{0, 0, 0, 0}, {0, 1, 0, 0}, {0, 1, 1, 0}, {0, 0, 0, 0}}},
    {9, {{0, 0, 0, 0}, {0, 1, 0, 0}, {1, 1, 1, 0}, {0, 1, 0, 0}}},
    {3, {{1, 1, 1, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 0}}},
    {12, {{0, 0, 0, 0}, {1, 1, 0, 0}, {0, 0, 1, 1}, {0, 0, 0, 0}}},
    {8, {{0, 0, 0, 0}, {0, 0, 1, 1}, {1, 1, 0, 0}, {0, 0, 0, 0}}},
    {11, {{0, 0, 0, 0}, {1, 1, 1, 0}, {1, 0, 1, 0}, {0, 0, 0, 0}}},
    {10, {{1, 1, 1, 0}, {1, 0, 1, 0}, {1, 1, 1, 0}, {0, 0, 0, 0}}},
};

int game_type = GAME_CLASSIC;
// Classic until the game flow sets the type, so a draw never divides by zero.
int first_shape = 0;
int shape_count = 7;

int Set_Game_Type(int type) {
    if (type == GAME_CLASSIC) {
        first_shape = 0;
        shape_count = 7;
    } else if (type == GAME_XTREME) {
        first_shape = 0;
        shape_count = 16;
    }
    return 1;
}

int Random_Shape() {
    return first_shape + Random_Next() % shape_count;
}

int Choose_Next_Shape(int shape) {
    for (;;) {
        int drawn = Random_Shape();
        if (drawn == shape) {
            continue;
        }
        if (drawn == SHAPE_RING && Random_Next() % 3 != 0) {
            continue;
        }
        return drawn;
    }
}
