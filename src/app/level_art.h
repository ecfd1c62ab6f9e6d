// Loading and freeing the level's art: the block images the well is drawn with and the play-screen
// background, which live beside the play screen.
#pragma once

#include "game/play_screen.h"

// Frees all art, then cuts the blocks from "<prefix>BLK8.BMP" and the background from
// "<prefix>DS8.BMP", whose palette becomes the display palette. 0 when either is missing.
int Load_Level_Art(const char* prefix);

// Frees the blocks, the background and the menu's pictures. Always 1.
int Free_Art_Images();
