// The seven menu buttons: lit for the selected item, dark in the menu background's sockets.
#pragma once

#include "canvas.h"

constexpr int BUTTON_SIZE = 44;
constexpr int MENU_ITEMS = 7;
// Four 44 x 44 cells to a row with one-pixel gaps: 4 * 45 + 1 = 181, rounded up to whole words.
constexpr int BUTTON_SHEET_WIDTH = 184;
constexpr int BUTTON_SHEET_HEIGHT = 91;

// Items: 0 new game, 1 playfield, 2 game type, 3 level, 4 music, 5 effects, 6 quit.
void draw_menu_button(Canvas& c, int x, int y, int item, bool lit);
Canvas make_button_sheet();
