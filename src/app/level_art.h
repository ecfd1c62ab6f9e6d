// The level's art: the 32 block images the well is drawn with and the play-screen background.
#pragma once

#include "graphics/image.h"

constexpr int BLOCK_IMAGE_COUNT = 32;

// 16 x 16 cells, indexed by a well cell's value.
extern BitmapImage block_images[BLOCK_IMAGE_COUNT];
// 640 x 480, behind the play screen. Holds no pixels when the level art could not be loaded.
extern BitmapImage play_background;

// Frees all art, then cuts the blocks from "<prefix>BLK8.BMP" and the background from
// "<prefix>DS8.BMP", whose palette becomes the display palette. 0 when either is missing.
int Load_Level_Art(const char* prefix);

// Frees the blocks, the background and the menu's pictures. Always 1.
int Free_Art_Images();
