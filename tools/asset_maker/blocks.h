// The cells: bright bevelled piece blocks and the stone, metal, brick and special fixed blocks.
#pragma once

#include "canvas.h"

constexpr int BLOCK_SIZE = 16;
constexpr int BLOCK_COLUMNS = 8;
constexpr int BLOCK_ROWS = 4;
// One-pixel gutter before every cell: 8 * 17 + 1 wide, 4 * 17 + 1 high, less the last gutter.
constexpr int BLOCK_SHEET_WIDTH = 136;
constexpr int BLOCK_SHEET_HEIGHT = 68;

// Base colour of piece image 1 … 15.
Rgb piece_colour(int image);
// A piece block of any size at (x, y), lit from the top left.
void draw_piece_block(Canvas& canvas, int x, int y, int size, Rgb base);
// A 16 x 16 fixed block, value 16 … 31.
void draw_fixed_block(Canvas& canvas, int x, int y, int value);
// The 8 x 4 sheet of blocks 0 … 31 (0 left black), gutters black.
Canvas make_block_sheet();
