// Drawing one play frame: background, well with the sparkle of rows being cleared, the next
// shape, the falling piece, the counters and the banner line.
#pragma once
#include <cstdint>

#include "game/piece.h"
#include "graphics/image.h"

// Where the well's cell (0, 0) and the next-shape preview's cell (0, 0) appear on the screen.
constexpr int WELL_SCREEN_X = 32;
constexpr int WELL_SCREEN_Y = 16;
constexpr int PREVIEW_SCREEN_X = 530;
constexpr int PREVIEW_SCREEN_Y = 304;

// The level's art, loaded by the flow. 16 x 16 blocks, indexed by a well cell's value.
constexpr int BLOCK_IMAGE_COUNT = 32;
extern BitmapImage block_images[BLOCK_IMAGE_COUNT];
// 640 x 480, behind the play screen. Holds no pixels when the level art could not be loaded.
extern BitmapImage play_background;

// Shared with the menu for its value texts.
constexpr int TEXT_BUFFER_SIZE = 80;
extern char text_buffer[TEXT_BUFFER_SIZE];

// The banner's green (starts 0) and its change per drawn status (starts 2).
extern int banner_glow;
extern int banner_glow_step;

// The six palette indices of the sparkle, a pair per flash.
constexpr int SPARKLE_COLOUR_COUNT = 6;
extern const uint8_t sparkle_colours[SPARKLE_COLOUR_COUNT];

// The whole frame into the locked back buffer (stride 640); it is locked again on return, so
// back_buffer may have moved. Always 1.
int Draw_Play_Screen(uint8_t* buffer);
// The well's cells at the given screen origin, and the sparkle of rows being cleared. The
// sparkle's random draws are taken even when there is nowhere to draw, so a refused lock does
// not change the shapes that follow. Always 1.
int Draw_Well(uint8_t* buffer, int origin_x, int origin_y);
// The next shape beside the well. Always 1.
int Draw_Next_Piece(uint8_t* buffer, const Piece* p);
// The falling piece; 0 (nothing drawn) while rows are being cleared, before the first spawn, or
// without a buffer.
int Draw_Piece(uint8_t* buffer, const Piece* p);
// The counters and the banner through a device context of the back surface. Unlocks the back
// buffer for the text and locks it again. 0 when no device context could be had (no text then).
int Draw_Status();
