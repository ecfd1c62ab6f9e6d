// A complete set of game data files for whole-program tests: every picture with its own
// recognisable palette and pixels, the twelve sounds, and layouts shaped for the scenarios.
#pragma once
#include <cstdint>
#include <string>

#include "platform/types.h"

enum class AppPicture { Title, Blocks, Background, Menu, Buttons, Closing };
constexpr int APP_PICTURE_COUNT = 6;

// True when all 256 entries hold the picture's colours (flags PC_NOCOLLAPSE).
bool app_palette_is(const platform::PaletteEntry* palette, AppPicture picture);

// Pixel values the pictures are filled with.
constexpr uint8_t APP_TITLE_PIXEL = 7;
constexpr uint8_t APP_BACKGROUND_PIXEL = 9;
constexpr uint8_t APP_MENU_PIXEL = 11;
constexpr uint8_t APP_CLOSING_PIXEL = 13;
// Block i of the sheet is filled with APP_BLOCK_PIXEL + i; button i with APP_BUTTON_PIXEL + i.
constexpr uint8_t APP_BLOCK_PIXEL = 100;
constexpr uint8_t APP_BUTTON_PIXEL = 60;
// The entry of the background palette that is exactly red.
constexpr uint8_t APP_BACKGROUND_RED = 200;

// Layouts written as playf1.xpf .. playf16.xpf.
// 1: walled well whose row 24 is fixed except columns 7..10, so a flat four-long bar dropped
//    from the spawn position completes it.
// 2: everything below row 3 fixed, so a game is over after a piece or two.
// 3..16: a plain walled well.
constexpr int APP_LAYOUT_GAP_ROW = 24;
constexpr int APP_LAYOUT_CHOKED = 1;  // playfield_number of playf2.xpf

struct AppDataSet {
    bool pictures[APP_PICTURE_COUNT] = {true, true, true, true, true, true};
};

// Where the scratch directories of process pid go; whoever waits for that process removes it.
std::string app_scratch_root(int pid);

// Writes the set, the sounds and the layouts into a fresh scratch directory; returns its path.
std::string app_make_data_dir(const AppDataSet& set = AppDataSet());

// Writes one picture into dir; false when it cannot be written.
bool app_write_picture(const std::string& dir, AppPicture picture);
