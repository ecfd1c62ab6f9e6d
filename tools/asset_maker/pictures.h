// Every picture of the game, by file name.
#pragma once

#include <string>
#include <vector>

#include "lettering.h"
#include "palette.h"

struct Picture {
    std::string name;
    IndexedImage image;
};

// "lv1BLK8.BMP" and "lv1DS8.BMP", sharing the palette of play.
std::vector<Picture> make_play_pictures(Fonts& fonts);
// "CSCON8.BMP" and "XCNBUT8.BMP", sharing the menu palette.
std::vector<Picture> make_menu_pictures(Fonts& fonts);
Picture make_title_picture(Fonts& fonts);
Picture make_closing_picture(Fonts& fonts);

// Palette indices the game flashes when rows clear; they must be bright in the play palette.
constexpr int SPARKLE_INDICES[6] = {237, 245, 248, 241, 246, 239};
// Steps of the menu's glowing value text: 128 up and down by 10, turning back at 248 and 68.
std::vector<int> menu_glow_levels();
Rgb menu_glow_colour(int v);
