// Big bevelled lettering: chrome faces lit from the top left, dark rim, soft drop shadow.
#pragma once

#include <string>

#include "canvas.h"
#include "lettering.h"

struct ChromeStyle {
    Rgb sky_top;        // face colour at the top of the letters
    Rgb sky_horizon;    // just above the bright horizon line
    Rgb ground_top;     // just below it
    Rgb ground_bottom;  // at the foot of the letters
    Rgb rim;            // outline
    int bevel = 6;      // bevel width in pixels
    int rim_width = 3;
    int shadow_offset = 6;
};

ChromeStyle storm_chrome();
ChromeStyle gold_chrome();

// Draws text centred on cx with the top of its mask at y; returns the drawn mask's width.
int draw_chrome_text(Canvas& canvas, Font& font, const std::string& text, int em, int tracking,
                     int cx, int y, const ChromeStyle& style);
