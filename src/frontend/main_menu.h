// The main menu: the screen between games. From it the player starts, resumes or leaves a game
// and chooses the playfield, the game type, the starting level and the two volumes.
#pragma once

#include <cstdint>

#include "graphics/display.h"
#include "graphics/image.h"

constexpr int MENU_ITEM_COUNT = 7;
constexpr int MENU_ITEM_NEW_GAME = 0;
constexpr int MENU_ITEM_PLAYFIELD = 1;
constexpr int MENU_ITEM_GAME_TYPE = 2;
constexpr int MENU_ITEM_LEVEL = 3;
constexpr int MENU_ITEM_MUSIC = 4;
constexpr int MENU_ITEM_EFFECTS = 5;
constexpr int MENU_ITEM_EXIT = 6;

// Main_Menu modes.
constexpr int MENU_ENTER = 0;
constexpr int MENU_FRAME = 1;

// The wait as the menu opens, the longest gap between two samples of the keys: a tap must be
// remembered across it.
constexpr uint32_t MENU_ENTER_SLEEP_MS = 200;

// 1 until the menu's pictures have been tried; they are tried once per run.
extern int menu_first_call;
// The selected item, 0..6; 0 at every entry.
extern int menu_cursor;
// 640 x 480 at (0, 0), from "CSCON8.BMP".
extern BitmapImage menu_background;
// 44 x 44, one per item, placed at the item's button position; from "XCNBUT8.BMP".
extern BitmapImage menu_buttons[MENU_ITEM_COUNT];
// The palette of "CSCON8.BMP", shown while the menu is.
extern PALETTEENTRY menu_palette[256];
// The palette showing when the menu was entered; shown again when play starts or resumes.
extern PALETTEENTRY game_palette_save[256];
// Brightness of the value text (64..255) and its change per frame (+10 or -10). Not reset on
// entry: the glow goes on where it stopped.
extern int text_glow;
extern int text_glow_step;
// Indexed by game_type.
extern const char* const game_type_labels[2];

// MENU_ENTER: keeps the game's palette, shows the menu's, starts the menu music; returns 1.
// MENU_FRAME: one menu frame; returns 1 while the player stays, 0 once the player has left,
// with game_state already set to FLOW_NEW_GAME, FLOW_PLAYING or FLOW_EXIT.
// Other modes do nothing and return 1. The first call of the run loads the pictures first and
// returns 0 at once when one cannot be loaded.
int Main_Menu(int mode);
